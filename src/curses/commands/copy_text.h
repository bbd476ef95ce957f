#pragma once
// The text Ctrl+C and Ctrl+X put on the clipboard: the selected lines joined with CR LF, a
// block that starts after column 0 keeping its shape, leading spaces as tabs where the file
// is saved with tabs.
#include <string>
#include <vector>

#include "curses/editor/editor_state.h"

std::string copiedText(const std::vector<std::string>& lines, const TextRange& range, int save_tab_width);
