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

#include <unistd.h>

#include <cstdio>

// A cap on the address space just above what the process uses now, so that any larger
// allocation fails as it would on a machine out of memory. Not under a sanitizer, which
// reserves address space of its own.
class AddressSpaceLimit {
public:
    explicit AddressSpaceLimit(size_t roomBytes) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
        (void)roomBytes;
#else
        size_t pages = 0;
        if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
            if (std::fscanf(statm, "%zu", &pages) != 1) pages = 0;
            std::fclose(statm);
        }
        if (pages == 0 || ::getrlimit(RLIMIT_AS, &saved_) != 0) return;
        rlimit limited = saved_;
        limited.rlim_cur = pages * static_cast<size_t>(::sysconf(_SC_PAGESIZE)) + roomBytes;
        active_ = ::setrlimit(RLIMIT_AS, &limited) == 0;
#endif
    }
    ~AddressSpaceLimit() {
        if (active_) ::setrlimit(RLIMIT_AS, &saved_);
    }
    AddressSpaceLimit(const AddressSpaceLimit&) = delete;
    AddressSpaceLimit& operator=(const AddressSpaceLimit&) = delete;

    bool active() const { return active_; }

private:
    rlimit saved_{};
    bool active_ = false;
};

