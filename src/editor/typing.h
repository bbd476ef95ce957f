#pragma once
// Typed characters arrive one UTF-16 unit at a time; a character outside the Basic
// Multilingual Plane comes as two. This joins the halves so the document gets one four-byte
// UTF-8 character, as a file written by any other program would hold it.
#include <string>

#include "editor/document.h"
#include "text/utf16.h"

class TypingState {
public:
    // Inserts what the unit completes at the caret (nothing for a high surrogate, which waits
    // for its partner).
    void type(Document& doc, unsigned unit);
    // A high surrogate still waiting is inserted on its own before anything else happens.
    void flush(Document& doc);

private:
    SurrogateJoiner joiner_;
    std::string text_;
};
