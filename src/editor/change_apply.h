#pragma once
// Carrying out recorded changes on the lines: a step again (redo) or taken back (undo), and
// single changes for the commands that record as they go.
#include <string>

#include "editor/change_record.h"
#include "editor/line_list.h"

// A change made ready: everything it needs from memory is taken, so carrying it out cannot
// fail. It keeps copies of what it needs, so the lines may be read or moved meanwhile.
class PreparedChange {
public:
    // Takes the memory for the change, or throws std::bad_alloc with the lines as they were.
    PreparedChange(LineList& lines, const Change& change);
    // Carries the change out; never fails. Only once.
    void commit();

private:
    LineList& lines_;
    int line_;
    size_t byte_;
    size_t removedInLine_;  // bytes of the first line removed (to its end when lines go)
    int linesRemoved_;      // line breaks the change removes
    std::string first_;     // what the first line gets at byte_
    LineBatch following_;   // the new lines after it
    bool done_ = false;
};

// The change on the lines, whole or (when memory runs out) not at all.
void applyChange(LineList& lines, const Change& change);

enum class ApplyDirection {
    Redo,  // the changes in order
    Undo,  // their inverses in reverse order
};

// The whole record, or (when memory runs out) nothing of it.
void applyRecord(LineList& lines, const ChangeRecord& record, ApplyDirection direction);

// Whether text (a NUL for each line break) stands at byte `byte` of line `line`.
bool textAt(const LineList& lines, int line, size_t byte, std::string_view text);

// The record's changes in order, each checked first against the text it removes: a record
// that does not fit the lines changes nothing and answers false.
bool applyRecordChecked(LineList& lines, const ChangeRecord& record);
