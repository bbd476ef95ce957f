#pragma once
// Makes every single allocation of at least `bytes` fail while it lives, as on a machine out
// of memory, whatever the heap holds free: the program's large buffers can be refused on
// demand. (The unit tests' global operator new asks it.)
#include <cstddef>

class LargeAllocationsFail {
public:
    explicit LargeAllocationsFail(std::size_t bytes);
    ~LargeAllocationsFail();
    LargeAllocationsFail(const LargeAllocationsFail&) = delete;
    LargeAllocationsFail& operator=(const LargeAllocationsFail&) = delete;

private:
    std::size_t previous_;
};
