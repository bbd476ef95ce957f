#pragma once
// A fast 64-bit fingerprint of a stream of bytes, fed in pieces of any size: the same bytes
// give the same value however they are cut. It tells whether a file still holds the bytes it
// held before; it is no defence against anyone making two files look alike on purpose.
#include <cstddef>
#include <cstdint>

class FastHash {
public:
    void update(const void* bytes, size_t n);
    uint64_t digest() const;

private:
    void block(const unsigned char* p);

    // Four lanes of eight bytes, so the multiplications of a 32-byte block run side by side.
    uint64_t lanes_[4] = {0x243F6A8885A308D3ULL, 0x13198A2E03707344ULL, 0xA4093822299F31D0ULL, 0x082EFA98EC4E6C89ULL};
    unsigned char pending_[32] = {};
    size_t pendingBytes_ = 0;
    uint64_t total_ = 0;
};
