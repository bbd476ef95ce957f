#include "view/key_latency_win32.h"

#ifdef ORVANE_KEY_LATENCY
#include <cstdio>

namespace {
LARGE_INTEGER pressed{};
bool pending = false;
}  // namespace

void keyLatencyMark() {
    if (pending) return;  // a burst of keys is timed from its first one
    QueryPerformanceCounter(&pressed);
    pending = true;
}

void keyLatencyPainted() {
    if (!pending) return;
    pending = false;
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    long long micros = (now.QuadPart - pressed.QuadPart) * 1000000 / frequency.QuadPart;
    if (FILE* file = std::fopen("key-latency.txt", "a")) {
        std::fprintf(file, "%lld\n", micros);
        std::fclose(file);
    }
}
#endif
