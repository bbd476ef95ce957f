#include "editor/commands.h"

void undo(Document& doc) { doc.history.undo(doc); }

void redo(Document& doc) { doc.history.redo(doc); }
