// Loading the curses editor's file into lines, and saving the lines back.
#include "curses/document/document_text.h"
#include "curses/editor/curses_editor.h"
#include "platform/safe_file_writer.h"

namespace {

// The save is written out in pieces of about this size.
constexpr size_t kSaveChunk = 1 << 20;

}  // namespace

int CursesEditor::init(const std::string& name) {
    doc.file_name = name;
    doc.lines.clear();
    history.records.clear();
    history.pos = -1;
    history.saved_pos = -1;
    std::string bytes;
    const bool read = readWholeFile(doc.file_name, bytes);
    if (read) loadLines(bytes);
    push_undo();
    history.saved_pos = history.pos;
    return read ? 0 : 1;
}

void CursesEditor::loadLines(const std::string& bytes) {
    LoadedText loaded = parse_document_text(bytes, doc.indent_size);
    doc.lines = std::move(loaded.lines);
    doc.write_crlf = loaded.write_crlf;
    doc.save_tab_width = loaded.save_tab_width;
    doc.indent_size = loaded.indent_size;
}

int CursesEditor::save_file() {
    // The new text is written beside the file and takes its place only when all of it
    // reached the disk: a failed save leaves the old file as it was.
    SafeFileWriter writer(doc.file_name);
    if (!writer.isOpen()) return 1;
    const SaveForm form{doc.write_crlf, doc.save_tab_width};
    std::string chunk;
    chunk.reserve(kSaveChunk + 4096);
    for (const std::string& line : doc.lines) {
        append_saved_line(chunk, line, form);
        if (chunk.size() >= kSaveChunk) {
            writer.write(chunk.data(), static_cast<int64_t>(chunk.size()));
            chunk.clear();
        }
    }
    if (!chunk.empty()) writer.write(chunk.data(), static_cast<int64_t>(chunk.size()));
    if (!writer.commit()) return 1;
    history.saved_pos = history.pos;
    return 0;
}
