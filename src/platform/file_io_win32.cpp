// Windows file classes. Blocks: overlapped, block-aligned reads four blocks ahead without
// system buffering, and up to sixteen asynchronous block writes in flight. Large: plain
// requests of a megabyte or more through the system cache, straight into or out of the
// caller's memory where it hands over that much at once.
#include <windows.h>

#include <algorithm>
#include <deque>
#include <string>
#include <vector>

#include "platform/file_io.h"
#include "platform/handles_win32.h"
#include "text/path_form.h"
#include "text/utf16.h"

namespace {

constexpr int64_t kBlockSize = 8192;
constexpr int kReadBlocks = 4;
constexpr size_t kReadAreaBytes = 0x9FFF;  // four aligned blocks fit at any start address
constexpr size_t kMaxPendingWrites = 16;
// The most one large request asks for: a request's count is 32 bits, and a bounded request
// keeps a failing disk from hiding a gigabyte of work in one call.
constexpr int64_t kLargestRequest = int64_t{64} << 20;

// Opens a UTF-8 path: the wide API for non-ASCII or long paths (with the long-path prefix),
// else the path bytes unchanged through the narrow API. A reader also falls back to the
// narrow API when the wide open fails.
HANDLE openPath(const std::string& path, DWORD access, DWORD share, DWORD disposition, DWORD flags,
                bool narrowAfterWideFailure, DWORD& error) {
    bool wideTried = false;
    HANDLE handle = INVALID_HANDLE_VALUE;
    if (pathNeedsWideCall(path)) {
        std::u16string wide;
        if (utf8ToUtf16Strict(path, wide)) {
            wide = longPathForm(wide);
            std::wstring w(wide.begin(), wide.end());
            wideTried = true;
            handle = CreateFileW(w.c_str(), access, share, nullptr, disposition, flags, nullptr);
            // Also after a success: an open that may create tells whether the file was there.
            error = GetLastError();
        }
    }
    if (handle == INVALID_HANDLE_VALUE && (!wideTried || narrowAfterWideFailure)) {
        handle = CreateFileA(path.c_str(), access, share, nullptr, disposition, flags, nullptr);
        // After a wide attempt the narrow name is only a guess: its error says nothing about
        // the file, so the wide call's error (a sharing violation, say) is kept.
        if (!wideTried) error = GetLastError();
    }
    return handle;
}

// The wide form of a path for the calls that have both forms, or false for the narrow one.
bool widePath(const std::string& path, std::wstring& out) {
    if (!pathNeedsWideCall(path)) return false;
    std::u16string wide;
    if (!utf8ToUtf16Strict(path, wide)) return false;
    wide = longPathForm(wide);
    out.assign(wide.begin(), wide.end());
    return true;
}

DWORD attributesOf(const std::string& path) {
    std::wstring wide;
    return widePath(path, wide) ? GetFileAttributesW(wide.c_str()) : GetFileAttributesA(path.c_str());
}

int64_t querySize(HANDLE handle) {
    LARGE_INTEGER size;
    return GetFileSizeEx(handle, &size) ? size.QuadPart : 0;
}

void setOffset(OVERLAPPED& ov, int64_t offset) {
    ov.Offset = static_cast<DWORD>(offset & 0xFFFFFFFF);
    ov.OffsetHigh = static_cast<DWORD>(static_cast<uint64_t>(offset) >> 32);
}

// The file-name part of a path: after the last separator.
std::string fileNameOf(const std::string& path) {
    size_t cut = path.find_last_of("\\/");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::string folderOf(const std::string& path) {
    size_t cut = path.find_last_of("\\/");
    return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

FileError errorFrom(DWORD error) {
    switch (error) {
    case NO_ERROR: return FileError::None;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_BAD_NETPATH:
    case ERROR_INVALID_DRIVE: return FileError::NotFound;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS: return FileError::Exists;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
    case ERROR_NETWORK_ACCESS_DENIED: return FileError::AccessDenied;
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_BUFFER_OVERFLOW: return FileError::NameTooLong;
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_DIRECTORY: return FileError::InvalidName;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_USER_MAPPED_FILE:
    case ERROR_UNABLE_TO_REMOVE_REPLACED:
    case ERROR_UNABLE_TO_MOVE_REPLACEMENT: return FileError::Busy;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
    default: return FileError::Other;
    }
}

// Why a file could not be made at path. Some file systems report a name longer than they
// take as a missing file (the folder is there, the name is what does not fit), and Linux
// under Wine counts its limit in UTF-8 bytes.
FileError creationErrorFrom(DWORD error, const std::string& path) {
    FileError kind = errorFrom(error);
    if (kind == FileError::NotFound && fileNameOf(path).size() > 255) {
        std::string folder = folderOf(path);
        if (!folder.empty() && folder.back() != ':' && (folder.back() == '\\' || folder.back() == '/')) folder.pop_back();
        if (folder.empty() || (attributesOf(folder) & FILE_ATTRIBUTE_DIRECTORY) == FILE_ATTRIBUTE_DIRECTORY)
            return FileError::NameTooLong;
    }
    return kind;
}

struct ReadBlock {
    OVERLAPPED ov{};
    int64_t offset = 0;
    DWORD count = 0;
    char* buffer = nullptr;
};

}  // namespace

struct FileReader::Impl {
    HANDLE handle = INVALID_HANDLE_VALUE;
    FileRequests requests = FileRequests::Blocks;
    bool sharedWrite = false;
    int64_t size = 0;
    int64_t position = 0;
    int64_t readAhead = 0;
    bool failed = false;
    std::unique_ptr<char[]> area;
    ReadBlock blocks[kReadBlocks];
    std::deque<ReadBlock*> freeBlocks, pending, full;

    ~Impl() { close(); }

    void close() {
        for (ReadBlock* block : pending) {
            CancelIo(handle);
            WaitForSingleObject(block->ov.hEvent, INFINITE);
        }
        pending.clear();
        full.clear();
        freeBlocks.clear();
        for (ReadBlock& block : blocks) {
            if (block.ov.hEvent) CloseHandle(block.ov.hEvent);
            block.ov.hEvent = nullptr;
        }
        area.reset();
        if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
        handle = INVALID_HANDLE_VALUE;
    }

    bool coveredByPending() const {
        return std::any_of(pending.begin(), pending.end(), [&](const ReadBlock* b) {
            return position >= b->offset && position < b->offset + kBlockSize;
        });
    }

    // Moves finished requests to full and starts at most one new request.
    void readAheadStep() {
        while (!pending.empty()) {
            ReadBlock* block = pending.front();
            DWORD got = 0;
            if (!GetOverlappedResult(handle, &block->ov, &got, FALSE)) {
                if (GetLastError() == ERROR_IO_INCOMPLETE) break;
                got = 0;
            }
            if (block->count == 0) block->count = got;
            pending.pop_front();
            full.push_back(block);
        }
        if (freeBlocks.empty()) return;
        readAhead = std::max(readAhead, position) / kBlockSize * kBlockSize;
        if (readAhead >= size) return;
        ReadBlock* block = freeBlocks.back();
        freeBlocks.pop_back();
        ResetEvent(block->ov.hEvent);
        block->offset = readAhead;
        block->count = 0;
        setOffset(block->ov, readAhead);
        readAhead += kBlockSize;
        DWORD got = 0;
        if (ReadFile(handle, block->buffer, static_cast<DWORD>(kBlockSize), &got, &block->ov)) {
            if (got == 0) {
                failed = true;
                freeBlocks.push_back(block);
                return;
            }
            block->count = got;
        } else if (GetLastError() != ERROR_IO_PENDING) {
            failed = true;
            freeBlocks.push_back(block);
            return;
        }
        pending.push_back(block);
    }
};

FileReader::FileReader(const std::string& utf8Path, FileRequests requests) : impl_(std::make_unique<Impl>()) {
    impl_->requests = requests;
    const DWORD flags =
        requests == FileRequests::Large ? FILE_FLAG_SEQUENTIAL_SCAN : FILE_FLAG_OVERLAPPED | FILE_FLAG_NO_BUFFERING;
    DWORD error = 0;
    HANDLE handle = openPath(utf8Path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, flags, true, error);
    if (handle == INVALID_HANDLE_VALUE && error == ERROR_SHARING_VIOLATION) {
        handle = openPath(utf8Path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING, flags, true, error);
        impl_->sharedWrite = handle != INVALID_HANDLE_VALUE;
    }
    if (handle == INVALID_HANDLE_VALUE) return;
    impl_->handle = handle;
    impl_->size = querySize(handle);
    if (requests == FileRequests::Large) return;
    impl_->area = std::make_unique<char[]>(kReadAreaBytes);
    auto base = reinterpret_cast<uintptr_t>(impl_->area.get());
    char* aligned = impl_->area.get() + ((kBlockSize - base % kBlockSize) % kBlockSize);
    for (int i = 0; i < kReadBlocks; ++i) {
        ReadBlock& block = impl_->blocks[i];
        block.buffer = aligned + i * kBlockSize;
        block.ov.hEvent = CreateEventA(nullptr, TRUE, TRUE, nullptr);
        impl_->freeBlocks.push_back(&block);
    }
}

FileReader::~FileReader() = default;

bool FileReader::isOpen() const { return impl_->handle != INVALID_HANDLE_VALUE; }

int64_t FileReader::size() {
    if (impl_->sharedWrite && impl_->handle != INVALID_HANDLE_VALUE) impl_->size = querySize(impl_->handle);
    return impl_->size;
}

bool FileReader::failed() const { return impl_->failed; }

int64_t FileReader::read(void* buffer, int64_t n) {
    Impl& r = *impl_;
    if (r.sharedWrite) size();
    if (r.handle == INVALID_HANDLE_VALUE || n <= 0) return 0;
    n = std::min(n, r.size - r.position);
    if (n < 1) return 0;
    auto* out = static_cast<char*>(buffer);
    int64_t copied = 0;
    if (r.requests == FileRequests::Large) {
        // Straight into the caller's memory, in as few requests as it allows.
        while (copied < n) {
            DWORD got = 0;
            const auto want = static_cast<DWORD>(std::min(n - copied, kLargestRequest));
            if (!ReadFile(r.handle, out + copied, want, &got, nullptr) || got == 0) {
                r.failed = true;
                break;
            }
            copied += got;
            r.position += got;
        }
        return copied;
    }
    bool failure = false;
    while (copied < n && !failure) {
        while (!r.full.empty() && copied < n) {
            ReadBlock* block = r.full.front();
            int64_t end = block->offset + block->count;
            if (r.position < block->offset || r.position >= end) {
                r.full.pop_front();
                r.freeBlocks.push_back(block);
                continue;
            }
            int64_t take = std::min(end - r.position, n - copied);
            std::copy_n(block->buffer + (r.position - block->offset), take, out + copied);
            copied += take;
            r.position += take;
        }
        if (copied >= n) break;
        if (!r.coveredByPending()) r.readAhead = r.position;
        r.readAheadStep();
        if (r.full.empty()) {
            if (r.pending.empty()) break;
            ReadBlock* oldest = r.pending.front();
            r.pending.pop_front();
            DWORD got = 0;
            if (GetOverlappedResult(r.handle, &oldest->ov, &got, TRUE) && got > 0) {
                oldest->count = got;
                r.full.push_back(oldest);
            } else {
                r.freeBlocks.push_back(oldest);
                failure = true;
            }
        }
    }
    r.readAheadStep();
    if (failure) r.failed = true;
    return copied;
}

void FileReader::close() { impl_->close(); }

namespace {

struct WriteBlock {
    int64_t offset = 0;
    DWORD fill = 0;
    OVERLAPPED ov{};
    std::unique_ptr<char[]> raw;
    char* data = nullptr;

    WriteBlock() : raw(std::make_unique<char[]>(kBlockSize + 4095)) {
        auto base = reinterpret_cast<uintptr_t>(raw.get());
        data = raw.get() + ((4096 - base % 4096) % 4096);
        ov.hEvent = CreateEventA(nullptr, TRUE, TRUE, nullptr);
    }
    ~WriteBlock() {
        if (ov.hEvent) CloseHandle(ov.hEvent);
    }
    WriteBlock(const WriteBlock&) = delete;
    WriteBlock& operator=(const WriteBlock&) = delete;
};

}  // namespace

struct FileWriter::Impl {
    HANDLE handle = INVALID_HANDLE_VALUE;
    FileRequests requests = FileRequests::Blocks;
    // Large requests: the bytes gathered for the next request.
    std::unique_ptr<char[]> gathered;
    int64_t gatheredFill = 0;
    bool ok = false;
    FileError error = FileError::None;
    bool cutToWritten = false;
    int64_t position = 0;
    int64_t length = 0;
    std::vector<std::unique_ptr<WriteBlock>> owned;
    std::deque<WriteBlock*> freeBlocks, pending;

    ~Impl() {
        if (handle == INVALID_HANDLE_VALUE) return;
        // Nothing may still be writing into the blocks when they go.
        CancelIo(handle);
        for (WriteBlock* block : pending) WaitForSingleObject(block->ov.hEvent, INFINITE);
        CloseHandle(handle);
    }

    void failed(DWORD code) {
        ok = false;
        if (error == FileError::None) error = code == NO_ERROR ? FileError::Other : errorFrom(code);
    }

    // Large requests: writes bytes at position, synchronously, in bounded requests.
    void writeLarge(const char* data, int64_t n) {
        if (!ok) {
            // After a failure the save is lost anyway: the rest is counted, not written.
            position += n;
            length = std::max(length, position);
            return;
        }
        while (n > 0) {
            DWORD written = 0;
            const auto want = static_cast<DWORD>(std::min(n, kLargestRequest));
            if (!WriteFile(handle, data, want, &written, nullptr)) {
                failed(GetLastError());
                written = want;  // lost, as a failed block is: the position goes on
            } else if (written != want) {
                failed(ERROR_DISK_FULL);
                written = want;
            }
            data += written;
            n -= written;
            position += written;
            length = std::max(length, position);
        }
    }
    void writeGathered() {
        if (gatheredFill == 0) return;
        writeLarge(gathered.get(), gatheredFill);
        gatheredFill = 0;
    }

    WriteBlock* newBlock() {
        owned.push_back(std::make_unique<WriteBlock>());
        return owned.back().get();
    }

    // Issues the write of block's filled part at its offset; true when it is in flight.
    bool issue(WriteBlock* block) {
        ResetEvent(block->ov.hEvent);
        setOffset(block->ov, block->offset);
        DWORD written = 0;
        if (WriteFile(handle, block->data, block->fill, &written, &block->ov)) {
            if (written != block->fill) failed(ERROR_DISK_FULL);
            return false;
        }
        DWORD error = GetLastError();
        if (error == ERROR_IO_PENDING) return true;
        failed(error);
        return false;
    }

    // Starts writing the current block; it stays current (emptied) unless the write is in flight.
    void startCurrent() {
        WriteBlock* block = freeBlocks.front();
        block->offset = position;
        position += block->fill;
        length = std::max(length, position);
        if (issue(block)) {
            freeBlocks.pop_front();
            pending.push_back(block);
        } else {
            block->fill = 0;
        }
    }

    // Collects the oldest pending write. Returns false while it is still in flight.
    bool collectOldest(bool wait) {
        WriteBlock* block = pending.front();
        DWORD written = 0;
        if (GetOverlappedResult(handle, &block->ov, &written, wait ? TRUE : FALSE)) {
            if (written != block->fill) failed(ERROR_DISK_FULL);
        } else {
            DWORD error = GetLastError();
            if (error == ERROR_IO_INCOMPLETE) return false;
            if (error == ERROR_OPERATION_ABORTED) {
                if (issue(block)) return false;  // issued again and still in flight
            } else {
                failed(error);
            }
        }
        pending.pop_front();
        block->fill = 0;
        freeBlocks.push_back(block);
        return true;
    }
};

namespace {

DWORD dispositionOf(FileWriter::Mode mode) {
    switch (mode) {
    case FileWriter::Mode::Truncate: return CREATE_ALWAYS;
    case FileWriter::Mode::CreateNew: return CREATE_NEW;
    case FileWriter::Mode::Overwrite: return OPEN_EXISTING;
    case FileWriter::Mode::CreateThroughLink: return OPEN_ALWAYS;
    }
    return CREATE_NEW;
}

}  // namespace

FileWriter::FileWriter(const std::string& utf8Path, Mode mode, FileRequests requests)
    : impl_(std::make_unique<Impl>()) {
    impl_->requests = requests;
    // The memory first: a writer without it must not have created or emptied the file.
    if (requests == FileRequests::Large)
        impl_->gathered = std::make_unique_for_overwrite<char[]>(static_cast<size_t>(kLargeRequestBytes));
    else
        for (size_t i = 0; i < kMaxPendingWrites; ++i) impl_->freeBlocks.push_back(impl_->newBlock());
    DWORD error = 0;
    // Through a link to a missing file the system may say the file exists (the link does), so
    // a file made there is told by nothing answering to the name before and its being empty.
    if (mode == Mode::CreateThroughLink && attributesOf(utf8Path) != INVALID_FILE_ATTRIBUTES) {
        impl_->error = FileError::Exists;
        return;
    }
    const DWORD flags = requests == FileRequests::Large ? FILE_ATTRIBUTE_NORMAL : FILE_FLAG_OVERLAPPED;
    impl_->handle =
        openPath(utf8Path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, dispositionOf(mode), flags, false, error);
    if (impl_->handle != INVALID_HANDLE_VALUE && mode == Mode::CreateThroughLink && querySize(impl_->handle) > 0) {
        // A file with text in it was there after all: it is not this writer's to fill.
        CloseHandle(impl_->handle);
        impl_->handle = INVALID_HANDLE_VALUE;
        error = ERROR_FILE_EXISTS;
    }
    impl_->ok = impl_->handle != INVALID_HANDLE_VALUE;
    if (!impl_->ok) {
        impl_->error = creationErrorFrom(error, utf8Path);
        if (impl_->error == FileError::None) impl_->error = FileError::Other;
        return;
    }
    // Only a disk file has a length to cut: a device keeps whatever it is.
    impl_->cutToWritten = mode == Mode::Overwrite && GetFileType(impl_->handle) == FILE_TYPE_DISK;
}

FileWriter::~FileWriter() { close(); }

bool FileWriter::isOpen() const { return impl_->handle != INVALID_HANDLE_VALUE; }

bool FileWriter::ok() const { return impl_->ok; }

FileError FileWriter::error() const { return impl_->error; }

int64_t FileWriter::write(const void* bytes, int64_t n) {
    Impl& w = *impl_;
    if (n <= 0) return 0;
    if (w.handle == INVALID_HANDLE_VALUE) {
        w.failed(ERROR_INVALID_HANDLE);
        return n;
    }
    const char* data = static_cast<const char*>(bytes);
    if (w.requests == FileRequests::Large) {
        int64_t left = n;
        while (left > 0) {
            if (w.gatheredFill == 0 && left >= kLargeRequestBytes) {
                // A request's worth or more goes out from the caller's memory, without a copy.
                w.writeLarge(data, left);
                break;
            }
            const int64_t take = std::min(left, kLargeRequestBytes - w.gatheredFill);
            std::copy_n(data, take, w.gathered.get() + w.gatheredFill);
            w.gatheredFill += take;
            data += take;
            left -= take;
            if (w.gatheredFill == kLargeRequestBytes) w.writeGathered();
        }
        return n;
    }
    int64_t left = n;
    while (left > 0) {
        if (w.freeBlocks.empty() && !w.pending.empty()) w.collectOldest(false);
        if (w.freeBlocks.empty() && w.pending.size() >= kMaxPendingWrites) flush(false);
        if (w.freeBlocks.empty()) w.freeBlocks.push_back(w.newBlock());
        WriteBlock* block = w.freeBlocks.front();
        int64_t take = std::min<int64_t>(left, kBlockSize - block->fill);
        std::copy_n(data, take, block->data + block->fill);
        block->fill += static_cast<DWORD>(take);
        data += take;
        left -= take;
        if (block->fill == kBlockSize) w.startCurrent();
    }
    return n;
}

void FileWriter::flush(bool all) {
    Impl& w = *impl_;
    if (w.handle == INVALID_HANDLE_VALUE) return;
    if (w.requests == FileRequests::Large) {
        // Nothing is ever in flight: a flush writes what is gathered.
        w.writeGathered();
        return;
    }
    if (all && !w.freeBlocks.empty() && w.freeBlocks.front()->fill > 0) w.startCurrent();
    while (!w.pending.empty()) {
        bool finished = w.collectOldest(true);
        if (finished && !all) break;
    }
}

bool FileWriter::syncToDisk() {
    Impl& w = *impl_;
    if (w.handle == INVALID_HANDLE_VALUE) {
        w.failed(ERROR_INVALID_HANDLE);
        return false;
    }
    flush(true);
    if (w.cutToWritten) {
        FILE_END_OF_FILE_INFO end{};
        end.EndOfFile.QuadPart = w.position;
        if (!SetFileInformationByHandle(w.handle, FileEndOfFileInfo, &end, sizeof end)) w.failed(GetLastError());
    }
    // Only a disk file has buffers to put on the disk; a device refuses the request.
    if (GetFileType(w.handle) == FILE_TYPE_DISK && !FlushFileBuffers(w.handle)) w.failed(GetLastError());
    return w.ok;
}

void FileWriter::close() {
    if (!impl_ || impl_->handle == INVALID_HANDLE_VALUE) return;
    flush(true);
    if (!CloseHandle(impl_->handle)) impl_->failed(GetLastError());
    impl_->handle = INVALID_HANDLE_VALUE;
    impl_->freeBlocks.clear();
    impl_->owned.clear();
}

namespace file_system {

namespace {

std::string utf8Of(const std::wstring& wide) {
    return utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(wide.data()), wide.size()));
}

// The path as the system names the file it leads to, in the plain drive or network form.
std::string finalPathOf(HANDLE handle) {
    std::wstring buffer(1024, L'\0');
    DWORD n = GetFinalPathNameByHandleW(handle, buffer.data(), static_cast<DWORD>(buffer.size()), VOLUME_NAME_DOS);
    if (n >= buffer.size()) {
        buffer.resize(n + 1);
        n = GetFinalPathNameByHandleW(handle, buffer.data(), static_cast<DWORD>(buffer.size()), VOLUME_NAME_DOS);
    }
    if (n == 0 || n >= buffer.size()) return {};
    buffer.resize(n);
    // The long-path prefix goes: the calls that need it add it again.
    if (buffer.rfind(L"\\\\?\\UNC\\", 0) == 0) buffer = L"\\\\" + buffer.substr(8);
    else if (buffer.rfind(L"\\\\?\\", 0) == 0) buffer = buffer.substr(4);
    return utf8Of(buffer);
}

// The full form of a path as typed, to tell whether the final path is another file.
std::string fullPathOf(const std::string& path) {
    std::wstring wide;
    if (!widePath(path, wide)) {
        std::u16string converted;
        if (!utf8ToUtf16Strict(path, converted)) return path;
        wide.assign(converted.begin(), converted.end());
    }
    DWORD n = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (n == 0) return path;
    std::wstring full(n, L'\0');
    n = GetFullPathNameW(wide.c_str(), n, full.data(), nullptr);
    if (n == 0 || n >= full.size()) return path;
    full.resize(n);
    if (full.rfind(L"\\\\?\\", 0) == 0 && full.rfind(L"\\\\?\\UNC\\", 0) != 0) full = full.substr(4);
    return utf8Of(full);
}

bool sameSpelling(const std::string& a, const std::string& b) {
    std::u16string wa, wb;
    if (!utf8ToUtf16Strict(a, wa) || !utf8ToUtf16Strict(b, wb)) return a == b;
    for (char16_t& c : wa) if (c == u'/') c = u'\\';
    for (char16_t& c : wb) if (c == u'/') c = u'\\';
    return CompareStringOrdinal(reinterpret_cast<const wchar_t*>(wa.c_str()), static_cast<int>(wa.size()),
                                reinterpret_cast<const wchar_t*>(wb.c_str()), static_cast<int>(wb.size()),
                                TRUE) == CSTR_EQUAL;
}

win32::Handle openForQuery(const std::string& path) {
    DWORD error = 0;
    return win32::Handle(openPath(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, OPEN_EXISTING,
                                  FILE_FLAG_BACKUP_SEMANTICS, true, error));
}

}  // namespace

FileFacts inspect(const std::string& path) {
    FileFacts facts;
    facts.finalPath = path;
    facts.special = isSpecialFile(path);
    if (facts.special) {
        facts.exists = true;
        return facts;
    }
    const DWORD attributes = attributesOf(path);
    win32::Handle handle = openForQuery(path);
    if (!handle.valid()) {
        // A link of the system's own whose file is missing still has attributes of its own.
        facts.linkToMissingFile =
            attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
        facts.exists = attributes != INVALID_FILE_ATTRIBUTES && !facts.linkToMissingFile;
        facts.readOnly = facts.exists && isReadOnly(path);
        return facts;
    }
    facts.exists = true;
    BY_HANDLE_FILE_INFORMATION info{};
    if (GetFileInformationByHandle(handle.get(), &info)) {
        facts.links = static_cast<int>(info.nNumberOfLinks > 0 ? info.nNumberOfLinks : 1);
        facts.readOnly = (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) && !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    }
    // A link (the system's own, or one of the file system under Wine, which looks like a plain
    // file) leads to a file elsewhere: that file is the one to write. The same file under
    // another spelling keeps the spelling the user gave.
    std::string final = finalPathOf(handle.get());
    if (!final.empty() && !sameSpelling(final, fullPathOf(path))) facts.finalPath = final;
    return facts;
}

std::string nameBeside(const std::string& target, const char* suffix, int attempt) {
    return folderOf(target) + "~orvane-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(attempt) + suffix;
}

bool sameFile(const std::string& a, const std::string& b) {
    win32::Handle first = openForQuery(a), second = openForQuery(b);
    BY_HANDLE_FILE_INFORMATION x{}, y{};
    return first.valid() && second.valid() && GetFileInformationByHandle(first.get(), &x) &&
           GetFileInformationByHandle(second.get(), &y) && x.dwVolumeSerialNumber == y.dwVolumeSerialNumber &&
           x.nFileIndexHigh == y.nFileIndexHigh && x.nFileIndexLow == y.nFileIndexLow;
}

bool nameFits(const std::string& path) {
    std::u16string wide;
    std::string name = fileNameOf(path);
    return utf8ToUtf16Strict(name, wide) ? wide.size() <= 255 : name.size() <= 255;
}

void sleepMilliseconds(int ms) { Sleep(static_cast<DWORD>(ms)); }

bool isSpecialFile(const std::string& path) {
    // Device names ("\\.\COM1") are special whatever the system says about them.
    if (path.rfind("\\\\.\\", 0) == 0) return true;
    // Anything that is not a disk file (a console, a pipe, "NUL", a character device) is
    // written where it stands: a replacement beside it would mean nothing.
    DWORD error = 0;
    win32::Handle handle(openPath(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, OPEN_EXISTING,
                                  FILE_FLAG_BACKUP_SEMANTICS, true, error));
    if (!handle.valid()) return false;
    DWORD type = GetFileType(handle.get());
    return type != FILE_TYPE_DISK && type != FILE_TYPE_UNKNOWN;
}

bool isReadOnly(const std::string& path) {
    DWORD attributes = attributesOf(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) &&
           !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

namespace {

// ReplaceFile refused for a reason a plain move must respect too; a move can succeed where
// it should not (a read-only target under some systems).
bool refusedOutright(DWORD error) {
    return error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ||
           error == ERROR_WRITE_PROTECT;
}

// Puts replacement in target's place; the system's error, or NO_ERROR.
DWORD replaceKeepingSecurity(const std::string& replacement, const std::string& target) {
    std::wstring wideReplacement, wideTarget;
    bool wide = widePath(replacement, wideReplacement) | widePath(target, wideTarget);
    if (wide) {
        // Both calls get the same form of both names.
        if (wideReplacement.empty()) wideReplacement.assign(replacement.begin(), replacement.end());
        if (wideTarget.empty()) wideTarget.assign(target.begin(), target.end());
        // ReplaceFile keeps the target's attributes, security and creation time.
        if (ReplaceFileW(wideTarget.c_str(), wideReplacement.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr,
                         nullptr))
            return NO_ERROR;
        DWORD error = GetLastError();
        if (refusedOutright(error)) return error;
        if (MoveFileExW(wideReplacement.c_str(), wideTarget.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return NO_ERROR;
        return GetLastError();
    }
    if (ReplaceFileA(target.c_str(), replacement.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr))
        return NO_ERROR;
    DWORD error = GetLastError();
    if (refusedOutright(error)) return error;
    // No target yet, or a volume that cannot replace: a plain move that overwrites.
    if (MoveFileExA(replacement.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return NO_ERROR;
    return GetLastError();
}

}  // namespace

FileError replace(const std::string& replacement, const std::string& target) {
    if (isReadOnly(target)) return FileError::ReadOnly;
    DWORD before = attributesOf(target);
    if (before != INVALID_FILE_ATTRIBUTES) {
        // A file another program holds is found out before the replace is tried: some systems
        // leave a file of their own behind when a replace fails that way.
        DWORD error = 0;
        win32::Handle probe(openPath(target, DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                     OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, false, error));
        if (!probe.valid() && (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION)) return FileError::Busy;
    }
    if (DWORD error = replaceKeepingSecurity(replacement, target); error != NO_ERROR) {
        FileError kind = creationErrorFrom(error, target);
        return kind == FileError::None ? FileError::Other : kind;
    }
    // A hidden or system file stays one, also where the replace or the move lost the marks.
    constexpr DWORD kKept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    if (before != INVALID_FILE_ATTRIBUTES && (before & kKept)) {
        DWORD after = attributesOf(target);
        if (after != INVALID_FILE_ATTRIBUTES && (after & kKept) != (before & kKept)) {
            DWORD wanted = (after & ~kKept & ~FILE_ATTRIBUTE_NORMAL) | (before & kKept);
            std::wstring wide;
            if (widePath(target, wide))
                SetFileAttributesW(wide.c_str(), wanted);
            else
                SetFileAttributesA(target.c_str(), wanted);
        }
    }
    return FileError::None;
}

bool remove(const std::string& path) {
    std::wstring wide;
    return (widePath(path, wide) ? DeleteFileW(wide.c_str()) : DeleteFileA(path.c_str())) != FALSE;
}

}  // namespace file_system
