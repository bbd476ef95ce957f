#pragma once
// Editing commands of the main editor. Each one reads the caret from the document's
// ViewState, changes lines through the line list (in place: only the bytes after a change
// move, and many lines change in one step), and moves the caret with
// setCaretColumn/setCaretLine so the view follows. Every change is written into the
// document's history, so each command that changes the text can be undone as one step.
#include "editor/document.h"

// Caret moves. Vertical moves clamp the column to the target line; no column is remembered.
void moveLeft(Document& doc);
void moveRight(Document& doc);
void moveUp(Document& doc);
void moveDown(Document& doc);
void moveHome(Document& doc);
void moveEnd(Document& doc);
void pageUp(Document& doc);
void pageDown(Document& doc);
void moveDocumentStart(Document& doc);
void moveDocumentEnd(Document& doc);
void wordLeft(Document& doc);
void wordRight(Document& doc);
void scrollLineUp(Document& doc);
void scrollLineDown(Document& doc);

// Text changes.
void insertText(Document& doc, const char* text);
void splitLine(Document& doc);
void deleteForward(Document& doc);
void deleteBackward(Document& doc);
void deleteWordForward(Document& doc);
void deleteWordBackward(Document& doc);
void indent(Document& doc);
void unindent(Document& doc);
void deleteSelection(Document& doc);

// The private copy buffer, shared with the system clipboard through the document's host.
void copySelection(Document& doc);
void cutSelection(Document& doc);
void paste(Document& doc);
// Pastes pieces (one per line) as the copy buffer's would be pasted.
void pastePieces(Document& doc, const std::vector<std::string>& pieces);

// Selection habits: the whole document; the word (or run of blanks or of other signs) at a
// position, caret at its end; from the selection's anchor (or the caret) to a position.
void selectAll(Document& doc);
void selectWordAt(Document& doc, TextPosition at);
void extendSelectionTo(Document& doc, TextPosition at);

// Takes back the last step, or does again the last one taken back: the text, the caret, the
// selection and the scroll as they were; New and Open bring back the document they replaced.
void undo(Document& doc);
void redo(Document& doc);

// Esc: line-number modes off, selection and search texts cleared.
void cancel(Document& doc);

// Mode toggles: no text change.
void toggleOverwrite(Document& doc);
void toggleCrlf(Document& doc);
void toggleSpace(Document& doc);
