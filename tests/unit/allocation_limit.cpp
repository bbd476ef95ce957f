// The unit tests' global operator new: the system's allocation, refused from a size on while a
// LargeAllocationsFail lives.
#include "allocation_limit.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<std::size_t> refusedFrom{0};  // 0: nothing is refused

void* allocate(std::size_t n) {
    const std::size_t limit = refusedFrom.load(std::memory_order_relaxed);
    if (limit != 0 && n >= limit) throw std::bad_alloc();
    if (void* p = std::malloc(n ? n : 1)) return p;
    throw std::bad_alloc();
}

}  // namespace

LargeAllocationsFail::LargeAllocationsFail(std::size_t bytes) : previous_(refusedFrom.exchange(bytes)) {}
LargeAllocationsFail::~LargeAllocationsFail() { refusedFrom.store(previous_); }

// Every plain form, so that no allocation is made by one allocator and freed by another. (The
// aligned forms stay the library's, new and delete alike.)
void* operator new(std::size_t n) { return allocate(n); }
void* operator new[](std::size_t n) { return allocate(n); }
void* operator new(std::size_t n, const std::nothrow_t&) noexcept {
    try {
        return allocate(n);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
void* operator new[](std::size_t n, const std::nothrow_t& tag) noexcept { return operator new(n, tag); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }
