#pragma once
// How the curses editor turns file bytes into lines and lines back into file bytes.
#include <string>
#include <string_view>
#include <vector>

struct LoadedText {
    std::vector<std::string> lines;
    bool write_crlf = false;
    // 0: leading spaces are saved as they are; n > 0: each leading group of n spaces is one tab.
    int save_tab_width = 0;
    int indent_size = 2;
};

// Splits at LF (lines of any length stay whole), drops a leading byte-order mark and the
// trailing CR and LF bytes of each line, decides the line ending by the CR count, detects
// tab indentation and expands every tab to indent_size spaces (the detected width in tab
// mode, else the given one).
LoadedText parse_document_text(std::string_view bytes, int indent_size);

struct SaveForm {
    bool crlf = false;
    int tab_width = 0;
};

// Appends one line as saved: leading groups of tab_width spaces as tabs, then the rest, then
// CR LF or LF.
void append_saved_line(std::string& out, const std::string& line, SaveForm form);
