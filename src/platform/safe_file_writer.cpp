#include "platform/safe_file_writer.h"

namespace {

// A new side-file name is tried this often before the save gives up: each try is a name
// nobody had.
constexpr int kNameAttempts = 64;
// Virus scanners, indexers and backup tools hold a freshly written file for a moment: a file
// another program holds is tried this often, this far apart (about a second in all).
constexpr int kBusyTries = 10;
constexpr int kBusyWaitMs = 100;
// Copies go through a buffer on the stack, so a copy needs no memory it could fail to get;
// each step is one request, straight into it.
constexpr size_t kCopyStep = size_t{1} << 16;

}  // namespace

file_system::FileFacts SaveSteps::inspect(const std::string& path) { return file_system::inspect(path); }

std::unique_ptr<FileWriter> SaveSteps::open(const std::string& path, FileWriter::Mode mode) {
    // A save may be gigabytes: large requests through the system cache.
    return std::make_unique<FileWriter>(path, mode, FileRequests::Large);
}

FileError SaveSteps::finish(FileWriter& writer) {
    bool written = writer.syncToDisk();
    writer.close();
    if (written && writer.ok()) return FileError::None;
    return writer.error() == FileError::None ? FileError::Other : writer.error();
}

bool SaveSteps::copy(const std::string& from, FileWriter& to) {
    // A document may be gigabytes: large requests through the system cache.
    FileReader reader(from, FileRequests::Large);
    if (!reader.isOpen()) return false;
    const int64_t size = reader.size();
    char buffer[kCopyStep];
    int64_t copied = 0;
    for (int64_t got; (got = reader.read(buffer, sizeof buffer)) > 0; copied += got) to.write(buffer, got);
    return !reader.failed() && copied == size && to.ok();
}

FileError SaveSteps::replace(const std::string& replacement, const std::string& target) {
    return file_system::replace(replacement, target);
}

bool SaveSteps::remove(const std::string& path) { return file_system::remove(path); }

void SaveSteps::waitForBusyFile() { file_system::sleepMilliseconds(kBusyWaitMs); }

SaveSteps& SaveSteps::system() {
    static SaveSteps steps;  // no state: the system's own calls
    return steps;
}

SafeFileWriter::SafeFileWriter(const std::string& utf8Target, SaveSteps& steps)
    : steps_(steps), target_(utf8Target), destination_(utf8Target) {
    try {
        open();
    } catch (...) {
        // Memory ran out part-way: nothing made so far stays behind.
        abandon();
        throw;
    }
}

SafeFileWriter::~SafeFileWriter() {
    if (!finished_) abandon();
}

void SafeFileWriter::open() {
    if (!file_system::nameFits(target_)) return fail(FileError::NameTooLong);
    const file_system::FileFacts facts = steps_.inspect(target_);
    if (!facts.finalPath.empty()) destination_ = facts.finalPath;
    if (!file_system::nameFits(destination_)) return fail(FileError::NameTooLong);
    special_ = facts.special;
    // A rename would quietly replace a read-only file on some systems; it is the user's
    // choice to clear the mark, not the editor's.
    if (facts.readOnly) return fail(FileError::ReadOnly);
    // A replacement beside a device or pipe would mean nothing: it is written where it stands.
    if (facts.special) return openInPlace(target_);
    if (!facts.exists) return openCreation(facts);
    if (facts.links > 1) return openBackedUp();
    openReplacement();
}

void SafeFileWriter::fail(FileError error) {
    if (error_ == FileError::None) error_ = error == FileError::None ? FileError::Other : error;
}

std::unique_ptr<FileWriter> SafeFileWriter::openBeside(const std::string& beside, const char* suffix,
                                                       std::string& name) {
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        std::string candidate = file_system::nameBeside(beside, suffix, attempt);
        std::unique_ptr<FileWriter> writer = steps_.open(candidate, FileWriter::Mode::CreateNew);
        if (writer->isOpen()) {
            name = std::move(candidate);
            return writer;
        }
        if (writer->error() != FileError::Exists) {
            fail(writer->error());
            return nullptr;
        }
    }
    fail(FileError::Other);
    return nullptr;
}

std::unique_ptr<FileWriter> SafeFileWriter::openHeld(const std::string& path, FileWriter::Mode mode) {
    for (int attempt = 1;; ++attempt) {
        std::unique_ptr<FileWriter> writer = steps_.open(path, mode);
        if (writer->isOpen()) return writer;
        if (writer->error() != FileError::Busy || attempt >= kBusyTries) {
            fail(writer->error());
            return nullptr;
        }
        steps_.waitForBusyFile();
    }
}

void SafeFileWriter::openReplacement() {
    writer_ = openBeside(destination_, ".tmp", sideFile_);
    if (writer_) {
        way_ = Way::Replace;
    } else if (error_ == FileError::AccessDenied) {
        // The folder takes no new file; the target itself may still be written.
        error_ = FileError::None;
        openInPlace(destination_);
    }
}

void SafeFileWriter::openCreation(const file_system::FileFacts& facts) {
    // There is nothing to keep safe yet: the new file is written directly and removed again
    // if the save fails.
    FileWriter::Mode mode = facts.linkToMissingFile ? FileWriter::Mode::CreateThroughLink : FileWriter::Mode::CreateNew;
    std::unique_ptr<FileWriter> writer = steps_.open(destination_, mode);
    if (!writer->isOpen() && writer->error() == FileError::Exists && mode == FileWriter::Mode::CreateNew) {
        // The name is taken although no file answers to it: a link to a missing file, which
        // the system cannot read. The file is made through the link.
        writer = steps_.open(destination_, FileWriter::Mode::CreateThroughLink);
    }
    if (!writer->isOpen()) return fail(writer->error());
    writer_ = std::move(writer);
    way_ = Way::Create;
    // Made through a link, the new file is elsewhere: that is the one to remove on failure.
    std::string made = steps_.inspect(target_).finalPath;
    if (!made.empty()) destination_ = made;
}

void SafeFileWriter::openBackedUp() {
    // Replacing the file would leave its other names with the old text: it is written where
    // it stands, after a copy of its bytes is safe beside it.
    std::unique_ptr<FileWriter> backup = openBeside(destination_, ".bak", sideFile_);
    if (!backup) {
        if (error_ == FileError::AccessDenied) {
            error_ = FileError::None;
            openInPlace(destination_);
        }
        return;
    }
    const bool copied = steps_.copy(destination_, *backup);
    const FileError finished = steps_.finish(*backup);
    if (copied && finished == FileError::None) writer_ = openHeld(destination_, FileWriter::Mode::Overwrite);
    else fail(finished);
    if (writer_) {
        way_ = Way::Backup;
        return;
    }
    steps_.remove(sideFile_);
    sideFile_.clear();
}

void SafeFileWriter::openInPlace(const std::string& path) {
    writer_ = openHeld(path, FileWriter::Mode::Overwrite);
    if (writer_) way_ = Way::InPlace;
}

bool SafeFileWriter::isOpen() const { return writer_ && writer_->isOpen(); }

int64_t SafeFileWriter::write(const void* bytes, int64_t n) { return writer_ ? writer_->write(bytes, n) : 0; }

bool SafeFileWriter::commit() {
    if (!writer_ || finished_) return false;
    finished_ = true;
    const FileError finished = steps_.finish(*writer_);
    switch (way_) {
    case Way::Replace: {
        FileError replaced = finished;
        for (int attempt = 1; replaced == FileError::None; ++attempt) {
            replaced = steps_.replace(sideFile_, destination_);
            if (replaced != FileError::Busy || attempt >= kBusyTries) break;
            steps_.waitForBusyFile();
            replaced = FileError::None;
        }
        if (replaced == FileError::None) return true;
        steps_.remove(sideFile_);
        fail(replaced);
        return false;
    }
    case Way::Create:
        if (finished == FileError::None) return true;
        steps_.remove(destination_);
        fail(finished);
        return false;
    case Way::Backup:
        if (finished == FileError::None) {
            steps_.remove(sideFile_);
            return true;
        }
        fail(finished);
        putBackOrKeepCopy();
        return false;
    case Way::InPlace:
        if (finished == FileError::None) return true;
        fail(finished);
        // A device written where it stands has no earlier version to damage.
        damaged_ = !special_;
        return false;
    case Way::None: break;
    }
    return false;
}

void SafeFileWriter::putBackOrKeepCopy() {
    const FileError error = error_;  // the failure the user is told of is the first one
    bool restored = false;
    if (std::unique_ptr<FileWriter> writer = openHeld(destination_, FileWriter::Mode::Overwrite)) {
        const bool copied = steps_.copy(sideFile_, *writer);
        restored = steps_.finish(*writer) == FileError::None && copied;
    }
    error_ = error;
    if (restored) {
        steps_.remove(sideFile_);
    } else {
        // The earlier bytes stay where they are safe, and the user is told where.
        damaged_ = true;
        keptCopy_ = sideFile_;
    }
}

void SafeFileWriter::abandon() noexcept {
    finished_ = true;
    try {
        if (writer_) writer_->close();
        switch (way_) {
        case Way::Replace: steps_.remove(sideFile_); break;
        case Way::Create: steps_.remove(destination_); break;
        case Way::Backup: putBackOrKeepCopy(); break;
        case Way::InPlace: break;
        case Way::None:
            if (!sideFile_.empty()) steps_.remove(sideFile_);
            break;
        }
    } catch (...) {
        // Out of memory while cleaning up: what is left behind is the earlier text or a copy of it.
    }
}
