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

namespace {
// A new name is tried this often before the save gives up: each try is a name nobody had.
constexpr int kTemporaryAttempts = 64;
}  // namespace

SafeFileWriter::SafeFileWriter(const std::string& utf8Target) : target_(utf8Target) {
    // A rename would quietly replace a read-only file on some systems; it is the user's
    // choice to clear the mark, not the editor's.
    if (file_system::isReadOnly(target_)) return;
    if (file_system::isSpecialFile(target_)) {
        openInPlace();
        return;
    }
    for (int attempt = 0; attempt < kTemporaryAttempts && !writer_; ++attempt) {
        std::string name = file_system::temporaryNameBeside(target_, attempt);
        auto writer = std::make_unique<FileWriter>(name, FileWriter::Mode::CreateNew);
        if (writer->isOpen()) {
            temporary_ = name;
            writer_ = std::move(writer);
        } else if (!file_system::exists(name)) {
            break;  // not a name clash: the folder takes no new file
        }
    }
    if (writer_) return;
    // The folder refuses new files; a target that can itself be written is written in place.
    if (file_system::exists(target_)) openInPlace();
}

void SafeFileWriter::openInPlace() {
    auto writer = std::make_unique<FileWriter>(target_, FileWriter::Mode::Truncate);
    if (!writer->isOpen()) return;
    writer_ = std::move(writer);
    inPlace_ = true;
}

SafeFileWriter::~SafeFileWriter() {
    if (committed_ || !writer_) return;
    writer_->close();
    if (!inPlace_) file_system::remove(temporary_);
}

bool SafeFileWriter::isOpen() const { return writer_ && writer_->isOpen(); }

int64_t SafeFileWriter::write(const void* bytes, int64_t n) { return writer_ ? writer_->write(bytes, n) : 0; }

bool SafeFileWriter::commit() {
    if (!writer_ || committed_) return false;
    bool written = writer_->syncToDisk();
    writer_->close();
    written = written && writer_->ok();
    if (inPlace_) {
        committed_ = true;
        return written;
    }
    if (!written || !file_system::replace(temporary_, target_)) {
        file_system::remove(temporary_);
        committed_ = true;
        return false;
    }
    committed_ = true;
    return true;
}
