#pragma once
// The program's file classes for UTF-8 paths. On Windows the small files of the program use
// overlapped, block-aligned I/O (four 8192-byte read blocks ahead; up to sixteen 8192-byte
// writes in flight); documents, which may be gigabytes, go through the system cache in
// large requests. The native build has the same interface over POSIX calls.
#include <cstdint>
#include <memory>
#include <string>

// How a file's bytes travel. Blocks: 8192-byte requests, for the program's small files.
// Large: requests through the system cache, for documents (reads of any size asked for,
// writes of kLargeRequestBytes each): each request under Wine costs as much as a small one,
// and the cache keeps a file that was just read or written. Writes stay below a megabyte:
// under Wine on Linux a write of a megabyte or more makes the system take the cache's memory
// for it in megabyte pieces, which costs several times more than smaller ones on a virtual
// machine.
enum class FileRequests { Blocks, Large };
constexpr int64_t kLargeRequestBytes = int64_t{1} << 19;

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
    explicit FileReader(const std::string& utf8Path, FileRequests requests = FileRequests::Blocks);
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

// Why a file could not be opened, written or replaced, as far as the user needs to know.
enum class FileError {
    None,
    NotFound,      // the file, or a folder on its path, is missing
    Exists,        // a file of that name is already there
    AccessDenied,  // the system refused: permissions, or a folder that takes no new file
    ReadOnly,      // the file is marked read-only
    NameTooLong,   // the name is longer than its folder takes
    InvalidName,   // the name holds characters or a form that file names cannot have
    Busy,          // another program holds the file
    DiskFull,      // no room is left on the disk
    Other,
};

class FileWriter final : public ByteSink {
public:
    enum class Mode {
        Truncate,   // create the file or empty an existing one
        CreateNew,  // create the file; fail when it exists
        Overwrite,  // an existing file, written from its start without being emptied first:
                    // syncToDisk cuts it to the bytes written, so nothing is lost before then
        CreateThroughLink,  // create the file a name leads to, following a link at the name;
                            // fail when nothing answers to the name but a file with text is
                            // there after all
    };
    // Takes its memory before it touches the file: a writer that cannot be made has created,
    // emptied and opened nothing.
    explicit FileWriter(const std::string& utf8Path, Mode mode = Mode::Truncate,
                        FileRequests requests = FileRequests::Blocks);
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
    // The first failure: of the open, or of a write (None while all is well).
    FileError error() const;
    // Writes everything out, cuts an overwritten file to the bytes written, and asks the
    // system to put it on the disk itself; false when any of it failed.
    bool syncToDisk();
    void close();

    struct Impl;

private:
    std::unique_ptr<Impl> impl_;
};

// The file-system operations the safe writer needs, on UTF-8 paths.
namespace file_system {

// What a save needs to know about its target before it starts.
struct FileFacts {
    bool exists = false;
    // A device, pipe or other special file: written in place, never replaced.
    bool special = false;
    // Marked read-only (natively: no write permission for anyone): never replaced or
    // overwritten, even where the system would let it be.
    bool readOnly = false;
    // The names the file has (hard links); 1 when the system does not say.
    int links = 1;
    // Where the bytes are: the path with every symbolic link followed (for a link to a
    // missing file, the path it names), or the path itself when it leads nowhere else.
    std::string finalPath;
    // The name is a link whose file is missing and whose target cannot be read: the file
    // can only be created through the name.
    bool linkToMissingFile = false;
};
FileFacts inspect(const std::string& path);

// A short name beside target (same folder) for attempt 0, 1, ..., ending in suffix (".tmp",
// ".bak"): short, so that a target whose own name is near the limit still has one.
std::string nameBeside(const std::string& target, const char* suffix, int attempt);
// A device, pipe or other special file: written in place, never replaced.
bool isSpecialFile(const std::string& path);
bool isReadOnly(const std::string& path);
// Puts replacement in target's place (keeping the target's attributes where it exists);
// replacement is gone afterwards. On failure both files are as they were.
FileError replace(const std::string& replacement, const std::string& target);
bool remove(const std::string& path);
// Both paths name one file (through links, or in different spellings).
bool sameFile(const std::string& a, const std::string& b);
// The file name (the part after the last separator) is no longer than file systems take:
// 255 characters on Windows, 255 bytes natively.
bool nameFits(const std::string& path);
void sleepMilliseconds(int ms);
}  // namespace file_system

// Reads the whole file (as many bytes as the file system reports) into text; a file that
// cannot be opened, or is larger than maxBytes, gives empty text and false.
bool readWholeFile(const std::string& utf8Path, std::string& text, int64_t maxBytes = INT64_MAX);
