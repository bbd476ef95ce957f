#pragma once
// Hands the pieces of a save on to the file on a second thread, in order, so the text of the
// next piece is put together while the system takes in the one before. Only bytes change
// hands: the document is never touched here.
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/file_io.h"

class WriteBehind final : public ByteSink {
public:
    // slotBytes: the size of the copies kept. behind: write on a thread of its own (else at
    // once, in write).
    WriteBehind(ByteSink& inner, size_t slotBytes, bool behind);
    // Waits for the writes still queued.
    ~WriteBehind() override;
    WriteBehind(const WriteBehind&) = delete;
    WriteBehind& operator=(const WriteBehind&) = delete;

    // Copies the bytes and queues them; waits while every copy still waits to be written.
    int64_t write(const void* bytes, int64_t n) override;
    // Waits until everything queued was written; a failure to take memory on the way is
    // thrown here.
    void finish();

private:
    static constexpr int kSlots = 3;
    void run();
    void queue(const char* bytes, size_t n);

    ByteSink& inner_;
    size_t slotBytes_;
    std::unique_ptr<char[]> slots_[kSlots];
    size_t sizes_[kSlots] = {};
    uint64_t queued_ = 0;   // pieces handed over
    uint64_t written_ = 0;  // pieces written
    bool stop_ = false;
    std::exception_ptr failure_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::thread worker_;  // last: it starts once everything else is ready
};
