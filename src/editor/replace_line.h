#pragma once
// Replace all on one line in a single pass, for text of any bytes.
#include <string>
#include <string_view>

#include "editor/document.h"

struct LineReplacement {
    int line = 0;
    int column = 0;  // the first match, found by the caller
    std::string_view find;
    const std::string& change;
};

// Replaces the match at `column` and every later one on the line, giving exactly what the
// commands give one match at a time (select it, delete it, type the replacement a character
// at a time, search on from the caret), caret, scroll, modified flag and history included.
void replaceAllInLine(Document& doc, const LineReplacement& replacement);
