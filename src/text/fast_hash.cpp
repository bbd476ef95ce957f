#include "text/fast_hash.h"

#include <bit>
#include <cstring>

namespace {

constexpr uint64_t kMultiplier = 0x9E3779B97F4A7C15ULL;

uint64_t load64(const unsigned char* p) {
    uint64_t v;
    std::memcpy(&v, p, sizeof v);
    if constexpr (std::endian::native == std::endian::big) {
        // The same value on every machine: the bytes read as little-endian.
        uint64_t swapped = 0;
        for (int i = 0; i < 8; ++i) swapped |= ((v >> (8 * i)) & 0xFF) << (8 * (7 - i));
        v = swapped;
    }
    return v;
}

uint64_t mix(uint64_t lane, uint64_t word) {
    lane ^= word;
    lane *= kMultiplier;
    return lane ^ (lane >> 31);
}

}  // namespace

void FastHash::block(const unsigned char* p) {
    for (int i = 0; i < 4; ++i) lanes_[i] = mix(lanes_[i], load64(p + 8 * i));
}

void FastHash::update(const void* bytes, size_t n) {
    const auto* p = static_cast<const unsigned char*>(bytes);
    total_ += n;
    if (pendingBytes_ > 0) {
        size_t take = n < 32 - pendingBytes_ ? n : 32 - pendingBytes_;
        std::memcpy(pending_ + pendingBytes_, p, take);
        pendingBytes_ += take;
        p += take;
        n -= take;
        if (pendingBytes_ < 32) return;
        block(pending_);
        pendingBytes_ = 0;
    }
    for (; n >= 32; p += 32, n -= 32) block(p);
    std::memcpy(pending_, p, n);
    pendingBytes_ = n;
}

uint64_t FastHash::digest() const {
    uint64_t lanes[4] = {lanes_[0], lanes_[1], lanes_[2], lanes_[3]};
    unsigned char tail[32] = {};
    std::memcpy(tail, pending_, pendingBytes_);
    for (int i = 0; i < 4; ++i) lanes[i] = mix(lanes[i], load64(tail + 8 * i));
    uint64_t h = total_ * kMultiplier;
    for (uint64_t lane : lanes) h = mix(h ^ (h >> 29), lane);
    return h ^ (h >> 32);
}
