// What one read request costs under Wine: reads a file in fixed blocks the way the document
// reader does (overlapped, a manual-reset event per request, the event reset before each
// request), and the same without the reset, without an event, synchronously, and in larger
// blocks. Built and run by bench/wine_read_blocks.sh; not part of the program.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>

namespace {

double seconds() {
    LARGE_INTEGER frequency, count;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&count);
    return static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

enum Mode { kEventReset, kEventNoReset, kNoEvent, kSynchronous };
const char* const kNames[] = {"overlapped, event reset before each request", "overlapped, event never reset",
                              "overlapped, no event", "synchronous"};

void measure(const char* path, Mode mode, DWORD block) {
    DWORD flags = mode == kSynchronous ? 0 : FILE_FLAG_OVERLAPPED | FILE_FLAG_NO_BUFFERING;
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, flags, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        std::printf("cannot open %s\n", path);
        return;
    }
    LARGE_INTEGER size;
    GetFileSizeEx(file, &size);
    char* buffer = static_cast<char*>(VirtualAlloc(nullptr, block, MEM_COMMIT, PAGE_READWRITE));
    OVERLAPPED ov{};
    ov.hEvent = mode == kNoEvent ? nullptr : CreateEventA(nullptr, TRUE, TRUE, nullptr);
    double start = seconds();
    int64_t offset = 0;
    int64_t requests = 0;
    while (offset < size.QuadPart) {
        DWORD got = 0;
        if (mode == kSynchronous) {
            if (!ReadFile(file, buffer, block, &got, nullptr) || got == 0) break;
        } else {
            if (mode == kEventReset) ResetEvent(ov.hEvent);
            ov.Offset = static_cast<DWORD>(offset);
            ov.OffsetHigh = static_cast<DWORD>(offset >> 32);
            if (!ReadFile(file, buffer, block, &got, &ov)) {
                if (GetLastError() != ERROR_IO_PENDING) break;
                GetOverlappedResult(file, &ov, &got, TRUE);
            }
            if (got == 0) break;
        }
        offset += got;
        ++requests;
    }
    double elapsed = seconds() - start;
    std::printf("%-46s %8lu-byte blocks: %7.3f s for %.1f MB, %6.1f us a request\n", kNames[mode],
                static_cast<unsigned long>(block), elapsed, static_cast<double>(offset) / 1e6,
                requests ? elapsed * 1e6 / static_cast<double>(requests) : 0.0);
    if (ov.hEvent) CloseHandle(ov.hEvent);
    VirtualFree(buffer, 0, MEM_RELEASE);
    CloseHandle(file);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::printf("usage: read_blocks FILE\n");
        return 1;
    }
    for (Mode mode : {kEventReset, kEventNoReset, kNoEvent, kSynchronous}) measure(argv[1], mode, 8192);
    measure(argv[1], kEventReset, 1 << 20);
    return 0;
}
