#pragma once
// The system clipboard's side of copy and paste: UTF-8 text to the clipboard's UTF-16 and
// the clipboard's text back into lines.
#include <string>
#include <vector>

// The copy buffer as clipboard text: every character decoded as the editor decodes it,
// characters beyond U+FFFF as surrogate pairs.
std::u16string clipboard_text_from_utf8(const std::string& text);

// The lines to paste: the Unicode text (surrogate pairs joined into one character, a lone
// half written on its own), or, when that gives nothing, the plain text as it is; tabs become
// indent_size spaces; split at CR LF, CR or LF; a text ending in a line break gets an empty
// last line. No text gives no lines.
std::vector<std::string> clipboard_lines(const std::u16string& unicode, const std::string& plain, int indent_size);
