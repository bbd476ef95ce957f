// The Windows file reader. Blocks: overlapped, block-aligned reads four blocks ahead without
// system buffering. Large: plain requests of a megabyte or more through the system cache,
// straight into the caller's memory.
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

constexpr int kReadBlocks = 4;
constexpr size_t kReadAreaBytes = 0x9FFF;  // four aligned blocks fit at any start address

struct ReadBlock {
    win32::Handle event;  // the overlapped record's
    OVERLAPPED ov{};
    int64_t offset = 0;
    DWORD count = 0;
    char* buffer = nullptr;
};

}  // namespace

struct FileReader::Impl {
    win32::Handle handle;
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
            CancelIo(handle.get());
            WaitForSingleObject(block->ov.hEvent, INFINITE);
        }
        pending.clear();
        full.clear();
        freeBlocks.clear();
        for (ReadBlock& block : blocks) {
            block.event.reset();
            block.ov.hEvent = nullptr;
        }
        area.reset();
        handle.reset();
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
            if (!GetOverlappedResult(handle.get(), &block->ov, &got, FALSE)) {
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
        if (ReadFile(handle.get(), block->buffer, static_cast<DWORD>(kBlockSize), &got, &block->ov)) {
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
    impl_->handle.reset(handle);
    impl_->size = querySize(handle);
    if (requests == FileRequests::Large) return;
    impl_->area = std::make_unique<char[]>(kReadAreaBytes);
    auto base = reinterpret_cast<uintptr_t>(impl_->area.get());
    char* aligned = impl_->area.get() + ((kBlockSize - base % kBlockSize) % kBlockSize);
    for (int i = 0; i < kReadBlocks; ++i) {
        ReadBlock& block = impl_->blocks[i];
        block.buffer = aligned + i * kBlockSize;
        block.event.reset(CreateEventA(nullptr, TRUE, TRUE, nullptr));
        block.ov.hEvent = block.event.get();
        impl_->freeBlocks.push_back(&block);
    }
}

FileReader::~FileReader() = default;

bool FileReader::isOpen() const { return impl_->handle.valid(); }

int64_t FileReader::size() {
    if (impl_->sharedWrite && impl_->handle.valid()) impl_->size = querySize(impl_->handle.get());
    return impl_->size;
}

bool FileReader::failed() const { return impl_->failed; }

int64_t FileReader::read(void* buffer, int64_t n) {
    Impl& r = *impl_;
    if (r.sharedWrite) size();
    if (!r.handle.valid() || n <= 0) return 0;
    n = std::min(n, r.size - r.position);
    if (n < 1) return 0;
    auto* out = static_cast<char*>(buffer);
    int64_t copied = 0;
    if (r.requests == FileRequests::Large) {
        // Straight into the caller's memory, in as few requests as it allows.
        while (copied < n) {
            DWORD got = 0;
            const auto want = static_cast<DWORD>(std::min(n - copied, kLargestRequest));
            if (!ReadFile(r.handle.get(), out + copied, want, &got, nullptr) || got == 0) {
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
            if (GetOverlappedResult(r.handle.get(), &oldest->ov, &got, TRUE) && got > 0) {
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
