#pragma once
// The system side of a record file: an open file held for this process alone.
#include <memory>
#include <string>

#include "platform/record_file.h"

struct RecordFile::Handle {
    virtual ~Handle() = default;
    // Writes all bytes at the end of the file, or all the file's bytes anew.
    virtual bool append(const std::string& bytes) = 0;
    virtual bool rewrite(const std::string& bytes) = 0;
    // Puts what was written on the disk.
    virtual bool flush() = 0;
    // Closes the file and deletes it.
    virtual bool closeAndDelete() = 0;
};

// A new file held from now on; nullptr when it cannot be created (it exists, say).
std::unique_ptr<RecordFile::Handle> createRecordHandle(const std::string& utf8Path);
// An existing file no other process holds, with its bytes; nullptr when held or unreadable.
std::unique_ptr<RecordFile::Handle> claimRecordHandle(const std::string& utf8Path, std::string& bytes);
// Renames a record no process holds; never over another file.
bool setRecordAside(const std::string& utf8Path, const std::string& utf8NewPath);
