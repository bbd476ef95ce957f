#pragma once
// A save's steps that fail on demand, for the native and the Win32 tests alike.
#include <set>
#include <string>

#include "platform/safe_file_writer.h"

// The system's steps, except that the calls numbered in `failing` (counted from 1) fail:
// a file cannot be made, bytes do not reach the disk, a copy stops, a replace or a removal
// is refused. A call that fails after it began (a finish) has already written what it had.
class FailingSteps final : public SaveSteps {
public:
    std::set<int> failing;
    int calls = 0;
    std::set<int> failedRemovals;  // call numbers of removals that were refused
    int busyReplaces = 0;          // the first this many replaces meet a busy file
    int waits = 0;

    std::unique_ptr<FileWriter> open(const std::string& path, FileWriter::Mode mode) override {
        if (fails()) return std::make_unique<FileWriter>("", FileWriter::Mode::Overwrite);
        return SaveSteps::open(path, mode);
    }
    FileError finish(FileWriter& writer) override {
        FileError error = SaveSteps::finish(writer);
        return fails() ? FileError::DiskFull : error;
    }
    bool copy(const std::string& from, FileWriter& to) override { return !fails() && SaveSteps::copy(from, to); }
    FileError replace(const std::string& replacement, const std::string& target) override {
        if (busyReplaces > 0) {
            --busyReplaces;
            return FileError::Busy;
        }
        return fails() ? FileError::AccessDenied : SaveSteps::replace(replacement, target);
    }
    bool remove(const std::string& path) override {
        if (!fails()) return SaveSteps::remove(path);
        failedRemovals.insert(calls);
        return false;
    }
    void waitForBusyFile() override { ++waits; }

private:
    bool fails() { return failing.count(++calls) > 0; }
};
