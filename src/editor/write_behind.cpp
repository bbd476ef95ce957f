#include "editor/write_behind.h"

#include <system_error>

WriteBehind::WriteBehind(ByteSink& inner, size_t pieceBytes, bool behind) : inner_(inner) {
    for (int i = 0; i < (behind ? kSlots : 1); ++i) slots_[i] = std::make_unique_for_overwrite<char[]>(pieceBytes);
    if (!behind) return;
    try {
        worker_ = std::thread([this] { run(); });
    } catch (const std::system_error&) {
        // No second thread: every piece is written at once instead, from the first slot.
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

char* WriteBehind::room() {
    if (!worker_.joinable()) return slots_[0].get();
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return queued_ - written_ < kSlots || failure_; });
    if (failure_) std::rethrow_exception(failure_);
    // The slot is free: the writer is past it, and only this thread fills slots.
    return slots_[queued_ % kSlots].get();
}

void WriteBehind::handOn(size_t n) {
    if (!worker_.joinable()) {
        inner_.write(slots_[0].get(), static_cast<int64_t>(n));
        return;
    }
    {
        std::lock_guard<std::mutex> lock(mutex_);
        sizes_[queued_ % kSlots] = n;
        ++queued_;
    }
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
