#pragma once
// Keeps a recovery record in step with the document. The record starts where the text is known
// without it (a file as it was read or saved, or a new empty document) and holds the steps
// from there, so it costs what the edits cost, not what the document does. Asked now and then,
// the journal tells what to add to the record, or that it must be written anew (the text went
// back below where the record starts, or the record grew larger than the document itself), or
// that no record is needed any more (the text is saved).
#include <cstdint>
#include <string>
#include <vector>

#include "editor/document.h"
#include "editor/recovery_record.h"

namespace recovery {

struct Update {
    enum class Action {
        None,     // the record is as it should be
        Append,   // add bytes to the record
        Rewrite,  // the record is to be these bytes from now on
        Remove,   // no record is needed
    };
    Action action = Action::None;
    std::string bytes;
};

class Journal {
public:
    // What the record needs so that it rebuilds the document as it is now.
    Update update(const Document& doc);
    // The record is gone (it could not be written, say): the next update writes it anew.
    void forget();
    bool hasRecord() const { return exists_; }

private:
    Update rewrite(const Document& doc);
    std::string stateEntry(const Document& doc) const;

    bool exists_ = false;
    uint64_t base_ = 0;             // the state the record starts from
    bool startsWithText_ = false;   // the record holds the text itself, not a known start
    std::vector<uint64_t> steps_;   // the steps above it, as the record holds them
    size_t written_ = 0;            // bytes in the record
    size_t limit_ = 0;              // past this size the record is written anew
    std::string lastState_;         // the last State entry written
};

// Whether the text differs from the one on disk (or from the new, empty one). New and Open
// over unsaved text end its record: Ctrl+N then Exit is how unsaved text is thrown away.
bool recordNeeded(const Document& doc);

// Where a record of the document would start: the index into the history's steps below which
// the record need not reach, and the document there. A start with text (kind Text) takes it
// from textOf, the lines of a document New or Open replaced. found is false when no such place
// is known: the record then holds the text as it is now.
struct StartPoint {
    bool found = false;
    size_t index = 0;
    DocumentStart start;
    const LineList* textOf = nullptr;
};
StartPoint findStart(const Document& doc);

// A document's whole text, a NUL between lines, as a record holds it.
std::string wholeText(const LineList& lines);

}  // namespace recovery
