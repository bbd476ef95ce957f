#include "platform/file_io.h"

bool readWholeFile(const std::string& utf8Path, std::string& text, int64_t maxBytes) {
    text.clear();
    FileReader reader(utf8Path);
    if (!reader.isOpen()) return false;
    int64_t size = reader.size();
    if (size > maxBytes) return false;
    if (size <= 0) return true;
    text.resize(static_cast<size_t>(size));
    int64_t got = reader.read(text.data(), size);
    text.resize(static_cast<size_t>(got > 0 ? got : 0));
    return true;
}
