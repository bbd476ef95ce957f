#pragma once
// A new, empty document in a small window (20 columns, 9 rows), with no history: what a start
// of the program without a file has, for tests that bring text back into one.
#include "editor/document.h"
#include "fake_document_host.h"

struct SmallDocument {
    SmallDocument() {
        view.cellWidth = 8;
        view.cellHeight = 9;
        view.clientRect = {0, 0, 160, 90};
        doc.newDocument();
        doc.history.clear();
    }
    FakeDocumentHost host;
    ViewState view;
    // Named, not the default argument's temporary, which GCC 12 takes for a dangling one.
    EditorDefaults defaults;
    Document doc{host, view, defaults};
};
