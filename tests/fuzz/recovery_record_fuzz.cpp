// Any bytes as a recovery record: reading them never crashes, never writes a file, and leaves
// a document that holds at least one line, damaged records included.
#include <cstdint>
#include <string>

#include "editor/recovery_rebuild.h"
#include "fake_document_host.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 1 << 16) return 0;
    FakeDocumentHost host;
    ViewState view;
    view.cellWidth = 8;
    view.cellHeight = 9;
    view.clientRect = {0, 0, 160, 90};
    Document doc{host, view};
    doc.newDocument();
    doc.history.clear();
    recovery::rebuild(doc, std::string_view(reinterpret_cast<const char*>(data), size));
    FUZZ_CHECK(doc.lineCount() >= 1);
    // Whatever came back can be undone to its start and done again.
    while (doc.history.canUndo()) doc.history.undo(doc);
    while (doc.history.canRedo()) doc.history.redo(doc);
    FUZZ_CHECK(doc.lineCount() >= 1);
    return 0;
}
