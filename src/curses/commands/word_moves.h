#pragma once
// Ctrl+Right and Ctrl+Left inside one line, in character columns.
#include <string>

// From the caret: past the caret character's class and the blanks after it.
int wordRight(const std::string& text, int x);
// From the character before the caret: back over blanks and into the word before them.
int wordLeft(const std::string& text, int x);
