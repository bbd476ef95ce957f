#pragma once
// Bytes from memory as a file reader hands them out: a piece at a time, with a size that may
// differ from what there is (a file that grows or shrinks while it is read), and a read that
// fails at a chosen piece.
#include <algorithm>
#include <cstring>
#include <string>

#include "platform/file_io.h"

class MemorySource final : public ByteSource {
public:
    struct Options {
        int64_t piece = 65536;     // the most one read hands out
        int failAt = -1;           // the read (from 0) that fails; -1: none
        int64_t reportedSize = -1; // what size() says; -1: the true size
    };
    MemorySource(std::string bytes, Options options) : bytes_(std::move(bytes)), options_(options) {}

    int64_t size() override {
        return options_.reportedSize < 0 ? static_cast<int64_t>(bytes_.size()) : options_.reportedSize;
    }
    int64_t read(void* buffer, int64_t n) override {
        if (failed_ || n <= 0) return 0;
        if (reads_++ == options_.failAt) {
            failed_ = true;
            return 0;
        }
        int64_t left = static_cast<int64_t>(bytes_.size()) - position_;
        int64_t take = std::min({n, std::max<int64_t>(options_.piece, 1), left});
        if (take <= 0) return 0;
        std::memcpy(buffer, bytes_.data() + position_, static_cast<size_t>(take));
        position_ += take;
        return take;
    }
    bool failed() const override { return failed_; }
    int reads() const { return reads_; }

private:
    std::string bytes_;
    Options options_;
    int64_t position_ = 0;
    int reads_ = 0;
    bool failed_ = false;
};
