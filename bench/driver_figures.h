#pragma once
// What the benchmark drivers print: "name value" lines of seconds and peak memory, read back
// by the comparison scripts.
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <functional>

inline long peakKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

inline double seconds(const std::function<void()>& work) {
    auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

inline void report(const char* name, double value) { std::printf("%s %.6f\n", name, value); }
