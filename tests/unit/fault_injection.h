#pragma once
// Real failures for the file tests: a file-size limit that makes writes fail part-way, as a
// disk that fills up does.
#include <sys/resource.h>

#include <csignal>

class FileSizeLimit {
public:
    // Writes past maxBytes in any file fail with EFBIG (the signal is ignored meanwhile).
    explicit FileSizeLimit(rlim_t maxBytes) {
        active_ = ::getrlimit(RLIMIT_FSIZE, &saved_) == 0;
        previous_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limited = saved_;
        limited.rlim_cur = maxBytes;
        active_ = active_ && ::setrlimit(RLIMIT_FSIZE, &limited) == 0;
    }
    ~FileSizeLimit() {
        if (active_) ::setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previous_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

    bool active() const { return active_; }

private:
    rlimit saved_{};
    void (*previous_)(int) = nullptr;
    bool active_ = false;
};
