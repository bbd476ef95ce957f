#pragma once
// The program's file classes for UTF-8 paths. On Windows they use overlapped, block-aligned
// I/O (four 8192-byte read blocks ahead; up to sixteen 8192-byte writes in flight); the
// native build has the same interface over POSIX calls.
#include <cstdint>
#include <memory>
#include <string>

// Bytes read in order: a file, or memory.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    // The size the bytes are expected to have (a file can still grow or shrink meanwhile).
    virtual int64_t size() = 0;
    // Copies up to n bytes at the current position; 0 at the end, on error or for n <= 0.
    virtual int64_t read(void* buffer, int64_t n) = 0;
    // A read went wrong: what was read so far is not all there is.
    virtual bool failed() const = 0;
};

// Where written bytes go.
class ByteSink {
public:
    virtual ~ByteSink() = default;
    virtual int64_t write(const void* bytes, int64_t n) = 0;
};

class FileReader final : public ByteSource {
public:
    explicit FileReader(const std::string& utf8Path);
    ~FileReader();
    FileReader(const FileReader&) = delete;
    FileReader& operator=(const FileReader&) = delete;

    bool isOpen() const;
    // The file size; re-read first when the file was opened with write sharing.
    int64_t size() override;
    int64_t read(void* buffer, int64_t n) override;
    // A read-ahead request failed or returned no bytes.
    bool failed() const override;
    // Waits for every pending request and releases everything.
    void close();

    struct Impl;

private:
    std::unique_ptr<Impl> impl_;
};

class FileWriter final : public ByteSink {
public:
    enum class Mode {
        Truncate,   // create the file or empty an existing one
        CreateNew,  // create the file; fail when it exists
    };
    explicit FileWriter(const std::string& utf8Path, Mode mode = Mode::Truncate);
    ~FileWriter();
    FileWriter(const FileWriter&) = delete;
    FileWriter& operator=(const FileWriter&) = delete;

    bool isOpen() const;
    // Accepts all n bytes into blocks; a block that cannot be written is remembered as a failure.
    int64_t write(const void* bytes, int64_t n) override;
    // all: write the partly filled current block too and wait until nothing is in flight.
    void flush(bool all);
    // Every byte given so far reached the file: it was created and no write or flush failed.
    bool ok() const;
    // Writes everything out and asks the system to put it on the disk itself; false when any
    // of it failed.
    bool syncToDisk();
    void close();

    struct Impl;

private:
    std::unique_ptr<Impl> impl_;
};

// Writes a new version of a file without ever leaving a damaged one behind. The text goes
// to a new file beside the target (same folder, a name no other file has), is put on the
// disk, and only then takes the target's place; the replaced file keeps its attributes.
// Without a successful commit the target stays byte for byte as it was and the new file is
// removed. Where the folder refuses a new file but the target itself can be written, the
// target is written in place instead (wroteInPlace tells), as is a device or other special
// file, which cannot be replaced. A read-only target is refused.
class SafeFileWriter final : public ByteSink {
public:
    explicit SafeFileWriter(const std::string& utf8Target);
    ~SafeFileWriter();
    SafeFileWriter(const SafeFileWriter&) = delete;
    SafeFileWriter& operator=(const SafeFileWriter&) = delete;

    bool isOpen() const;
    int64_t write(const void* bytes, int64_t n) override;
    // Everything written reached the disk and the target now holds it.
    bool commit();
    bool wroteInPlace() const { return inPlace_; }

private:
    void openInPlace();

    std::string target_;
    std::string temporary_;
    std::unique_ptr<FileWriter> writer_;
    bool inPlace_ = false;
    bool committed_ = false;
};

// The file-system operations the safe writer needs, on UTF-8 paths.
namespace file_system {
// The name of a file beside target that does not exist yet, for attempt 0, 1, ...
std::string temporaryNameBeside(const std::string& target, int attempt);
bool exists(const std::string& path);
// A device, pipe or other special file: written in place, never replaced.
bool isSpecialFile(const std::string& path);
// An existing file marked read-only (no write permission for anyone natively): never
// replaced or overwritten, even where the system would let it be.
bool isReadOnly(const std::string& path);
// Puts replacement in target's place (keeping the target's attributes where it exists);
// replacement is gone afterwards. False with both files as they were.
bool replace(const std::string& replacement, const std::string& target);
bool remove(const std::string& path);
}  // namespace file_system

// Reads the whole file (as many bytes as the file system reports) into text; a file that
// cannot be opened, or is larger than maxBytes, gives empty text and false.
bool readWholeFile(const std::string& utf8Path, std::string& text, int64_t maxBytes = INT64_MAX);
