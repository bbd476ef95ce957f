#pragma once
// The program's file classes for UTF-8 paths. On Windows they use overlapped, block-aligned
// I/O (four 8192-byte read blocks ahead; up to sixteen 8192-byte writes in flight); the
// native build has the same interface over POSIX calls.
#include <cstdint>
#include <memory>
#include <string>

class FileReader {
public:
    explicit FileReader(const std::string& utf8Path);
    ~FileReader();
    FileReader(const FileReader&) = delete;
    FileReader& operator=(const FileReader&) = delete;

    bool isOpen() const;
    // The file size; re-read first when the file was opened with write sharing.
    int64_t size();
    // Copies up to n bytes at the current position; 0 at the end, on error or for n <= 0.
    int64_t read(void* buffer, int64_t n);
    // A read-ahead request failed or returned no bytes.
    bool failed() const;
    // Waits for every pending request and releases everything.
    void close();

    struct Impl;

private:
    std::unique_ptr<Impl> impl_;
};

class FileWriter {
public:
    // Creates or truncates the file.
    explicit FileWriter(const std::string& utf8Path);
    ~FileWriter();
    FileWriter(const FileWriter&) = delete;
    FileWriter& operator=(const FileWriter&) = delete;

    bool isOpen() const;
    // Accepts all n bytes into blocks; a block that cannot be written is remembered as a failure.
    int64_t write(const void* bytes, int64_t n);
    // all: write the partly filled current block too and wait until nothing is in flight.
    void flush(bool all);
    // Every byte given so far reached the file: it was created and no write or flush failed.
    bool ok() const;
    void close();

    struct Impl;

private:
    std::unique_ptr<Impl> impl_;
};

// Reads the whole file (as many bytes as the file system reports) into text; a file that
// cannot be opened gives empty text and false.
bool readWholeFile(const std::string& utf8Path, std::string& text);
