#pragma once
// Find, replace and go-to on the document: exact, case-sensitive byte matching within
// single lines, no wrap-around. The dialogs that collect the texts live in the window code.
#include <string>

#include "editor/document.h"

struct SearchOptions {
    bool backward = false;
    bool fromStart = false;  // forward only: start at the top of the document, not the caret
};

struct ReplaceOptions {
    bool backward = false;
    bool fromStart = false;
    bool all = false;  // every match from there to the end, not just the next one
};

// Selects the next match (previous when backward) and puts the caret at its start. A match
// at the starting position counts. Without a match the caret goes to the end (start) of an
// active selection. Returns whether a match was found.
bool search(Document& doc, const std::string& text, const SearchOptions& options);

// Replaces the next match, or every match from there to the end of the document. Scanning
// resumes right after each inserted replacement, so it always terminates.
void replace(Document& doc, const std::string& text, const std::string& replacement, const ReplaceOptions& options);

// F3 and Shift+F3: repeat the last search or replace, stepping past the current match.
void findNext(Document& doc);
void findPrevious(Document& doc);

// Goto line input: a signed decimal number, 0 when the text is not one.
int parseGotoLine(const char* text);
// Goto line offset input: the C library's long conversion (leading blanks, sign, digits).
long parseLineOffset(const char* text);

// Both clear the selection and search texts first and keep the caret column.
void gotoLine(Document& doc, const char* input);
void gotoLineOffset(Document& doc, const char* input);
