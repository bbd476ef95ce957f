// Any session of the main editor's commands: every undo and redo gives back exactly the text,
// caret, selection and scroll it should, and undoing everything gives the loaded document.
#include <cstdint>
#include <filesystem>
#include <string>

#include "fuzz_check.h"
#include "undo_session.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 4096) return 0;
    static const std::string folder = (std::filesystem::temp_directory_path() / "orvane-undo-fuzz-").string();
    undo_session::Bytes in(data, size);
    undo_session::Session session(folder);
    session.start(in);
    while (!in.done() && !session.failed()) session.step(in);
    if (!session.failed()) session.unwindAndReplay();
    if (session.failed()) std::fprintf(stderr, "%s\n", session.failure().c_str());
    FUZZ_CHECK(!session.failed());
    return 0;
}
