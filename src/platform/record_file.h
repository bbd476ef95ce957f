#pragma once
// A file that one running process keeps for itself (a recovery record): held open all the
// while, so no other instance takes it, and written by a thread of its own, so the editor never
// waits for the disk. Every write is put on the disk (flushed) before the next is taken.
#include <memory>
#include <string>

class RecordFile {
public:
    // Creates a new file and holds it; nullptr when it cannot be created.
    static std::unique_ptr<RecordFile> create(const std::string& utf8Path);
    // Takes a file that no running process holds: its bytes, and the file held from now on.
    // nullptr when another process holds it or it cannot be read.
    static std::unique_ptr<RecordFile> claim(const std::string& utf8Path, std::string& bytes);

    // Finishes what was asked and lets the file go; the file stays.
    ~RecordFile();
    RecordFile(const RecordFile&) = delete;
    RecordFile& operator=(const RecordFile&) = delete;

    // Adds bytes at the end.
    void append(std::string bytes);
    // Makes the bytes the whole file.
    void rewrite(std::string bytes);
    // Removes the file once what was asked before is done; nothing more is written then.
    void remove();
    // Waits until everything asked is done and on the disk.
    void wait();
    // A write, a flush or the removal failed.
    bool failed() const;
    const std::string& path() const;

    // Gives a record that is not held a new name, never over another file.
    static bool setAside(const std::string& utf8Path, const std::string& utf8NewPath);

    struct Handle;
    struct Impl;

private:
    explicit RecordFile(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};
