#include "editor/write_behind.h"

#include <algorithm>
#include <cstring>
#include <system_error>

WriteBehind::WriteBehind(ByteSink& inner, size_t slotBytes, bool behind) : inner_(inner), slotBytes_(slotBytes) {
    if (!behind) return;
    for (auto& slot : slots_) slot = std::make_unique_for_overwrite<char[]>(slotBytes);
    try {
        worker_ = std::thread([this] { run(); });
    } catch (const std::system_error&) {
        // No second thread: every piece is written at once instead.
    }
}

WriteBehind::~WriteBehind() {
    if (!worker_.joinable()) return;
    {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait(lock, [this] { return written_ == queued_ || failure_; });
        stop_ = true;
    }
    changed_.notify_all();
    worker_.join();
}

int64_t WriteBehind::write(const void* bytes, int64_t n) {
    if (n <= 0) return 0;
    if (!worker_.joinable()) return inner_.write(bytes, n);
    const char* from = static_cast<const char*>(bytes);
    for (size_t left = static_cast<size_t>(n); left > 0;) {
        const size_t take = std::min(left, slotBytes_);
        queue(from, take);
        from += take;
        left -= take;
    }
    return n;
}

void WriteBehind::queue(const char* bytes, size_t n) {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return queued_ - written_ < kSlots || failure_; });
    if (failure_) std::rethrow_exception(failure_);
    const int slot = static_cast<int>(queued_ % kSlots);
    // The slot is free: the writer is past it, and only this thread fills slots.
    lock.unlock();
    std::memcpy(slots_[slot].get(), bytes, n);
    lock.lock();
    sizes_[slot] = n;
    ++queued_;
    lock.unlock();
    changed_.notify_all();
}

void WriteBehind::finish() {
    if (!worker_.joinable()) return;
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return written_ == queued_ || failure_; });
    if (failure_) std::rethrow_exception(failure_);
}

void WriteBehind::run() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return stop_ || written_ < queued_; });
        if (stop_ || failure_) return;
        const int slot = static_cast<int>(written_ % kSlots);
        const size_t n = sizes_[slot];
        lock.unlock();
        try {
            inner_.write(slots_[slot].get(), static_cast<int64_t>(n));
        } catch (...) {
            lock.lock();
            failure_ = std::current_exception();
            changed_.notify_all();
            return;
        }
        lock.lock();
        ++written_;
        changed_.notify_all();
    }
}
