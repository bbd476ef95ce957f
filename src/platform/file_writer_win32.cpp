// The Windows file writer. Blocks: up to sixteen asynchronous block writes in flight. Large:
// plain requests of a megabyte or more through the system cache, straight out of the caller's
// memory where it hands over that much at once.
#include <windows.h>

#include <algorithm>
#include <deque>
#include <string>
#include <vector>

#include "platform/file_io.h"
#include "platform/file_open_win32.h"
#include "platform/handles_win32.h"
#include "text/path_form.h"
#include "text/utf16.h"

using namespace file_win32;

namespace {

constexpr size_t kMaxPendingWrites = 16;

struct WriteBlock {
    int64_t offset = 0;
    DWORD fill = 0;
    win32::Handle event;  // the overlapped record's
    OVERLAPPED ov{};
    std::unique_ptr<char[]> raw;
    char* data = nullptr;

    WriteBlock() : raw(std::make_unique<char[]>(kBlockSize + 4095)) {
        auto base = reinterpret_cast<uintptr_t>(raw.get());
        data = raw.get() + ((4096 - base % 4096) % 4096);
        event.reset(CreateEventA(nullptr, TRUE, TRUE, nullptr));
        ov.hEvent = event.get();
    }
    WriteBlock(const WriteBlock&) = delete;
    WriteBlock& operator=(const WriteBlock&) = delete;
};

}  // namespace

struct FileWriter::Impl {
    win32::Handle handle;  // first: it is closed after the blocks
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
        if (!handle.valid()) return;
        // Nothing may still be writing into the blocks when they go.
        CancelIo(handle.get());
        for (WriteBlock* block : pending) WaitForSingleObject(block->ov.hEvent, INFINITE);
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
            const auto want = static_cast<DWORD>(std::min(n, kLargeRequestBytes));
            if (!WriteFile(handle.get(), data, want, &written, nullptr)) {
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
        if (WriteFile(handle.get(), block->data, block->fill, &written, &block->ov)) {
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
        if (GetOverlappedResult(handle.get(), &block->ov, &written, wait ? TRUE : FALSE)) {
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
    impl_->handle.reset(
        openPath(utf8Path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, dispositionOf(mode), flags, false, error));
    if (impl_->handle.valid() && mode == Mode::CreateThroughLink && querySize(impl_->handle.get()) > 0) {
        // A file with text in it was there after all: it is not this writer's to fill.
        impl_->handle.reset();
        error = ERROR_FILE_EXISTS;
    }
    impl_->ok = impl_->handle.valid();
    if (!impl_->ok) {
        impl_->error = creationErrorFrom(error, utf8Path);
        if (impl_->error == FileError::None) impl_->error = FileError::Other;
        return;
    }
    // Only a disk file has a length to cut: a device keeps whatever it is.
    impl_->cutToWritten = mode == Mode::Overwrite && GetFileType(impl_->handle.get()) == FILE_TYPE_DISK;
}

FileWriter::~FileWriter() { close(); }

bool FileWriter::isOpen() const { return impl_->handle.valid(); }

bool FileWriter::ok() const { return impl_->ok; }

FileError FileWriter::error() const { return impl_->error; }

int64_t FileWriter::write(const void* bytes, int64_t n) {
    Impl& w = *impl_;
    if (n <= 0) return 0;
    if (!w.handle.valid()) {
        w.failed(ERROR_INVALID_HANDLE);
        return n;
    }
    const char* data = static_cast<const char*>(bytes);
    if (w.requests == FileRequests::Large) {
        int64_t left = n;
        while (left > 0) {
            if (w.gatheredFill == 0 && left >= kLargeRequestBytes) {
                // A request's worth or more goes out from the caller's memory, without a copy,
                // a request at a time.
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
    if (!w.handle.valid()) return;
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
    if (!w.handle.valid()) {
        w.failed(ERROR_INVALID_HANDLE);
        return false;
    }
    flush(true);
    if (w.cutToWritten) {
        FILE_END_OF_FILE_INFO end{};
        end.EndOfFile.QuadPart = w.position;
        if (!SetFileInformationByHandle(w.handle.get(), FileEndOfFileInfo, &end, sizeof end)) w.failed(GetLastError());
    }
    // Only a disk file has buffers to put on the disk; a device refuses the request.
    if (GetFileType(w.handle.get()) == FILE_TYPE_DISK && !FlushFileBuffers(w.handle.get())) w.failed(GetLastError());
    return w.ok;
}

void FileWriter::close() {
    if (!impl_ || !impl_->handle.valid()) return;
    flush(true);
    if (!impl_->handle.close()) impl_->failed(GetLastError());
    impl_->freeBlocks.clear();
    impl_->owned.clear();
}

