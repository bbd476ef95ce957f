// Reads a file through the program's own FileReader in 1 MB steps, over 8192-byte blocks (the
// small files' way) and in large requests (the documents' way), and prints the times: what
// the reads alone cost under Wine. Built and run by
// bench/wine_read_blocks.sh with the reader's own sources; not part of the program.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <memory>

#include "platform/file_io.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::printf("usage: file_reader FILE\n");
        return 1;
    }
    constexpr int64_t kStep = 1 << 20;
    auto buffer = std::make_unique<char[]>(kStep);
    for (FileRequests requests : {FileRequests::Blocks, FileRequests::Large}) {
        LARGE_INTEGER frequency, start, end;
        QueryPerformanceFrequency(&frequency);
        QueryPerformanceCounter(&start);
        FileReader reader(argv[1], requests);
        int64_t total = 0;
        for (int64_t got; (got = reader.read(buffer.get(), kStep)) > 0;) total += got;
        reader.close();
        QueryPerformanceCounter(&end);
        double seconds = static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
        std::printf("FileReader, 1 MB steps %s: %.3f s for %.1f MB\n",
                    requests == FileRequests::Blocks ? "over 8192-byte blocks" : "in large requests", seconds,
                    static_cast<double>(total) / 1e6);
    }
    return 0;
}
