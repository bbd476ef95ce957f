#pragma once
// Small shared helpers of the editing commands.
#include "editor/document.h"
#include "text/utf8.h"

namespace edit {

inline bool isBlank(char c) { return c == ' ' || c == '\t'; }

inline bool lineExists(const Document& doc, int index) { return index >= 0 && index < doc.lineCount(); }

inline bool caretLineExists(const Document& doc) { return lineExists(doc, doc.view().caretLine); }

// Character count of a line; 0 for a missing line.
inline int lineLength(const Document& doc, int index) { return charCount(doc.lines.view(index)); }

// The line's bytes (empty for a missing line).
inline std::string_view lineText(const Document& doc, int index) { return doc.lines.view(index); }

}  // namespace edit
