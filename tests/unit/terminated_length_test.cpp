// Lines are measured sixteen bytes at a time: the length must be strlen's wherever the line
// starts and ends against those blocks, and a line that ends at the very end of readable
// memory must be measured without reading past it.
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstring>
#include <random>
#include <string>

#include "text/terminated_length.h"

TEST(TerminatedLength, AgreesWithStrlenAtEveryStartAndLength) {
    std::mt19937 random(16);
    alignas(16) char buffer[256];
    for (size_t start = 0; start < 32; ++start) {
        for (size_t length = 0; length < 100; ++length) {
            for (char& c : buffer) c = static_cast<char>(1 + random() % 255);
            buffer[start + length] = '\0';
            if (random() % 2) buffer[start + length + 1 + random() % 8] = '\0';  // a later NUL too
            ASSERT_EQ(terminatedLength(buffer + start), length) << start;
        }
    }
}

TEST(TerminatedLength, ALineEndingAtTheEndOfReadableMemoryIsMeasuredThere) {
    const size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
    void* pages = mmap(nullptr, 2 * page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    ASSERT_NE(pages, MAP_FAILED);
    ASSERT_EQ(mprotect(static_cast<char*>(pages) + page, page, PROT_NONE), 0);
    char* end = static_cast<char*>(pages) + page;  // the first byte that cannot be read
    for (size_t length : {0u, 1u, 14u, 15u, 16u, 17u, 40u, 100u}) {
        std::memset(end - length - 1, 'x', length);
        end[-1] = '\0';
        EXPECT_EQ(terminatedLength(end - length - 1), length);
    }
    munmap(pages, 2 * page);
}
