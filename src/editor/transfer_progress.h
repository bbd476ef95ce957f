#pragma once
// How far a long load or save has come, for a window that shows it and lets the user stop a
// load. Told after every large request.
#include <cstdint>

#include "platform/file_io.h"

struct TransferStep {
    int64_t bytes = 0;       // read or written so far
    int64_t totalBytes = 0;  // the whole, where it is known beforehand (a load); else 0
    double fraction = 0;     // of the whole, from 0 to 1
};

class TransferProgress {
public:
    virtual ~TransferProgress() = default;
    // Answers whether to go on: a load that is told to stop leaves the document as it was; a
    // save goes on.
    virtual bool advanced(const TransferStep& step) = 0;
};

// A source that tells progress after every read and stops handing out bytes once told to.
class ProgressSource final : public ByteSource {
public:
    ProgressSource(ByteSource& inner, TransferProgress& progress) : inner_(inner), progress_(progress) {}
    int64_t size() override { return inner_.size(); }
    int64_t read(void* buffer, int64_t n) override {
        if (stopped_) return 0;
        const int64_t got = inner_.read(buffer, n);
        if (got > 0) {
            done_ += got;
            const int64_t total = inner_.size();
            const double fraction = total > 0 ? static_cast<double>(done_) / static_cast<double>(total) : 1.0;
            if (!progress_.advanced({done_, total, fraction < 1.0 ? fraction : 1.0})) {
                stopped_ = true;
                return 0;
            }
        }
        return got;
    }
    // A stopped load counts as one whose read failed: nothing of it is kept.
    bool failed() const override { return stopped_ || inner_.failed(); }
    bool stopped() const { return stopped_; }

private:
    ByteSource& inner_;
    TransferProgress& progress_;
    int64_t done_ = 0;
    bool stopped_ = false;
};
