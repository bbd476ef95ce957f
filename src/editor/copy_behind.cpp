#include "editor/copy_behind.h"

#include <cstring>
#include <system_error>

CopyBehind::CopyBehind(size_t slotBytes, bool behind) {
    for (auto& slot : slots_) slot = std::make_unique_for_overwrite<char[]>(slotBytes);
    if (!behind) return;
    try {
        worker_ = std::thread([this] { run(); });
    } catch (const std::system_error&) {
        // No second thread: every copy is made at once instead.
    }
}

CopyBehind::~CopyBehind() {
    if (!worker_.joinable()) return;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stop_ = true;
    }
    changed_.notify_all();
    worker_.join();
}

char* CopyBehind::landing() {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return queued_ - done_ < kSlots; });
    return slots_[queued_ % kSlots].get();
}

uint64_t CopyBehind::copy(char* to, size_t n) {
    std::unique_lock<std::mutex> lock(mutex_);
    const uint64_t ticket = queued_;
    if (!worker_.joinable()) {
        std::memcpy(to, slots_[ticket % kSlots].get(), n);
        done_ = ++queued_;
        return ticket;
    }
    jobs_[ticket % kSlots] = {to, n};
    ++queued_;
    lock.unlock();
    changed_.notify_all();
    return ticket;
}

void CopyBehind::waitFor(uint64_t ticket) {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this, ticket] { return done_ > ticket; });
}

void CopyBehind::run() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return stop_ || done_ < queued_; });
        if (stop_) return;
        const Job job = jobs_[done_ % kSlots];
        const char* from = slots_[done_ % kSlots].get();
        // The buffer and its place are this thread's until done_ moves past them.
        lock.unlock();
        std::memcpy(job.to, from, job.n);
        lock.lock();
        ++done_;
        changed_.notify_all();
    }
}
