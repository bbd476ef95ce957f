#pragma once
// Copies what a file read brought in on to its place in the text, on a second thread: the
// first touch of a large text's fresh pages costs more than reading it, and goes on while the
// next request is read and the one before is split into lines. Only bytes change hands: the
// document is never touched here.
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>

class CopyBehind {
public:
    // slotBytes: the largest piece. behind: copy on a thread of its own (else at once, in copy).
    CopyBehind(size_t slotBytes, bool behind);
    // Waits for the copy under way; those not begun are dropped.
    ~CopyBehind();
    CopyBehind(const CopyBehind&) = delete;
    CopyBehind& operator=(const CopyBehind&) = delete;

    // A buffer to read the next piece into; waits while every buffer still waits to be copied.
    char* landing();
    // The first n bytes of the buffer landing() gave go to `to`. Returns the copy's number.
    uint64_t copy(char* to, size_t n);
    // Waits until copy `ticket` and every one before it are done.
    void waitFor(uint64_t ticket);

private:
    static constexpr int kSlots = 3;
    struct Job {
        char* to = nullptr;
        size_t n = 0;
    };
    void run();

    std::unique_ptr<char[]> slots_[kSlots];
    Job jobs_[kSlots];
    uint64_t queued_ = 0;  // copies handed over
    uint64_t done_ = 0;    // copies finished
    bool stop_ = false;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::thread worker_;  // last: it starts once everything else is ready
};
