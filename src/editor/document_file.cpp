#include "editor/document_file.h"

#include <cstring>
#include <vector>

#include "editor/document.h"
#include "platform/file_io.h"

namespace {

constexpr int64_t kChunkBytes = 65536;

// Splits bytes into lines at LF, dropping a CR right before the LF. A line keeps only its
// bytes before its first NUL. Lines longer than a chunk are joined across chunks, so a
// line of any length loads whole.
class LineSplitter {
public:
    explicit LineSplitter(LineList& lines) : lines_(lines) {}

    void feed(const char* data, size_t n) {
        while (n > 0) {
            const char* lf = static_cast<const char*>(std::memchr(data, '\n', n));
            size_t take = lf ? static_cast<size_t>(lf - data) : n;
            if (partial_.empty() && lf) {
                emit(data, take);
            } else {
                partial_.insert(partial_.end(), data, data + take);
                if (lf) {
                    emit(partial_.data(), partial_.size());
                    partial_.clear();
                }
            }
            if (!lf) return;
            data += take + 1;
            n -= take + 1;
        }
    }

    // A last line without a line feed.
    void finish() {
        if (!partial_.empty()) emit(partial_.data(), partial_.size());
        partial_.clear();
    }

private:
    void emit(const char* text, size_t length) {
        const void* nul = std::memchr(text, '\0', length);
        if (nul) {
            length = static_cast<size_t>(static_cast<const char*>(nul) - text);
        } else if (length > 0 && text[length - 1] == '\r') {
            --length;
        }
        lines_.insert(lines_.count(), text, length);
    }

    LineList& lines_;
    std::vector<char> partial_;
};

}  // namespace

bool loadDocument(Document& document, const std::string& path) {
    FileReader reader(path);
    if (!reader.isOpen()) return false;

    document.path = path;
    document.clearLines();
    document.modified = false;
    document.setCaret(0, 0);
    document.crlf = document.defaults().crlf;
    document.space = document.defaults().space;
    document.setSavedTitle();

    std::vector<char> chunk(static_cast<size_t>(kChunkBytes));
    LineSplitter splitter(document.lines);
    for (;;) {
        int64_t got = reader.read(chunk.data(), kChunkBytes);
        if (got <= 0) break;
        splitter.feed(chunk.data(), static_cast<size_t>(got));
    }
    splitter.finish();
    if (document.lineCount() == 0) document.insertLine(0, "");
    document.setCaret(0, 0);
    return true;
}

bool saveDocument(Document& document) {
    if (document.path.empty()) return false;
    FileWriter writer(document.path);
    if (!writer.isOpen()) return false;
    const char* ending = document.crlf ? "\r\n" : "\n";
    const int64_t endingLength = document.crlf ? 2 : 1;
    for (int i = 0; i < document.lineCount(); ++i) {
        const char* text = document.line(i);
        writer.write(text, static_cast<int64_t>(std::strlen(text)));
        writer.write(ending, endingLength);
    }
    writer.flush(true);
    writer.close();
    if (!writer.ok()) return false;
    document.setSavedTitle();
    document.modified = false;
    return true;
}
