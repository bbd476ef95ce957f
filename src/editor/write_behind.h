#pragma once
// The pieces of a save are put together straight in the memory they are written from, and
// handed on to the file in order. WriteBehind writes them on a second thread, so the next
// piece is put together while the system takes in the one before; only bytes change hands,
// the document is never touched there. PieceBuffer writes each piece at once.
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/file_io.h"

// Memory for the next piece, and the piece handed on once it is filled.
class PieceSink {
public:
    virtual ~PieceSink() = default;
    // Room for the next piece (of the size the sink was made with); the same until handOn.
    virtual char* room() = 0;
    // The first n bytes of the room are the next piece.
    virtual void handOn(size_t n) = 0;
};

class PieceBuffer final : public PieceSink {
public:
    PieceBuffer(ByteSink& inner, size_t pieceBytes)
        : inner_(inner), memory_(std::make_unique_for_overwrite<char[]>(pieceBytes)) {}
    char* room() override { return memory_.get(); }
    void handOn(size_t n) override { inner_.write(memory_.get(), static_cast<int64_t>(n)); }

private:
    ByteSink& inner_;
    std::unique_ptr<char[]> memory_;
};

class WriteBehind final : public PieceSink {
public:
    // Takes its memory when made. behind: write on a thread of its own (else at once, in
    // handOn).
    WriteBehind(ByteSink& inner, size_t pieceBytes, bool behind);
    // Waits for the writes still queued.
    ~WriteBehind() override;
    WriteBehind(const WriteBehind&) = delete;
    WriteBehind& operator=(const WriteBehind&) = delete;

    // Waits while every other piece still waits to be written; a failure of the writes so far
    // is thrown here.
    char* room() override;
    void handOn(size_t n) override;
    // Waits until everything handed on was written; a failure on the way is thrown here.
    void finish();

private:
    static constexpr int kSlots = 4;
    void run();

    ByteSink& inner_;
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
