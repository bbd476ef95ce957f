#pragma once
// Bringing back the document a recovery record describes: its text, path, modes and caret,
// and the steps that led there, so Ctrl+Z still walks back through them.
#include <string>
#include <string_view>

#include "editor/document.h"

namespace recovery {

struct Rebuilt {
    enum class Outcome {
        Whole,     // the document as it was, with its name
        Unnamed,   // part of it could not be rebuilt (its file changed since): what could is
                   // an unnamed document
        Nothing,   // nothing in the record could be rebuilt
    };
    Outcome outcome = Outcome::Nothing;
    bool damaged = false;       // the record was cut short or damaged: the steps before it came back
    std::string changedFile;    // a file the record needed that no longer holds what it did
};

// Rebuilds into doc, reading the files the record starts from. Files that no longer hold the
// bytes the record was made from are never used.
Rebuilt rebuild(Document& doc, std::string_view record);

}  // namespace recovery
