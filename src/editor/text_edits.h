#pragma once
// The changes the editing commands make to the text. Each one is written into the history of
// the command under way and carried out, whole or (when memory runs out) not at all; the
// commands never change the lines any other way.
#include <cstddef>
#include <string_view>

#include "editor/change_record.h"
#include "editor/document.h"

namespace edits {

// Any change: at byte change.byte of change.line, change.removed goes and change.inserted
// takes its place (a NUL in either stands for a line break).
void change(Document& doc, const Change& change);
// Replaces erase bytes at byte pos of a line with text, all within the line.
void splice(Document& doc, int line, size_t pos, size_t erase, std::string_view text);
// The rest of the line from byte pos on becomes a new line after it.
void breakLine(Document& doc, int line, size_t pos);
// Appends the next line to this one.
void joinWithNext(Document& doc, int line);
// Removes the text from (line, pos) up to (endLine, endPos), line breaks included.
void eraseRange(Document& doc, int line, size_t pos, int endLine, size_t endPos);
// Puts units copies of unit in front of every line from first to last.
void prefixLines(Document& doc, int first, int last, char unit, size_t units);
// Gives a line the new text that the changes, all within that line, made of it.
void rewriteLine(Document& doc, int line, std::string_view text, const ChangeRecord& changes);

}  // namespace edits

// Runs body as one command: one step of the history, taken back whole (caret and selection
// too) if memory runs out part-way, which is then thrown on.
template <typename Body>
void asCommand(Document& doc, StepKind kind, Body&& body) {
    Document::CommandScope command(doc);
    doc.history.begin(doc, kind);
    try {
        body();
        doc.history.end(doc);
    } catch (...) {
        doc.history.abandon(doc);
        throw;
    }
}
