#include <fcntl.h>
#include <stdio.h>
#include <sys/file.h>
#include <unistd.h>

#include "platform/record_handle.h"

namespace {

class PosixRecordHandle final : public RecordFile::Handle {
public:
    PosixRecordHandle(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}
    ~PosixRecordHandle() override {
        if (fd_ >= 0) ::close(fd_);
    }
    bool append(const std::string& bytes) override {
        return ::lseek(fd_, 0, SEEK_END) >= 0 && writeAll(bytes);
    }
    bool rewrite(const std::string& bytes) override {
        return ::ftruncate(fd_, 0) == 0 && ::lseek(fd_, 0, SEEK_SET) == 0 && writeAll(bytes);
    }
    bool flush() override { return ::fsync(fd_) == 0; }
    bool closeAndDelete() override {
        bool removed = ::unlink(path_.c_str()) == 0;
        ::close(fd_);
        fd_ = -1;
        return removed;
    }

private:
    bool writeAll(const std::string& bytes) {
        for (size_t done = 0; done < bytes.size();) {
            ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
            if (n <= 0) return false;
            done += static_cast<size_t>(n);
        }
        return true;
    }
    int fd_;
    std::string path_;
};

// Held with a lock no other process can take while this one lives.
int openLocked(const std::string& path, int flags) {
    int fd = ::open(path.c_str(), flags | O_CLOEXEC, 0600);
    if (fd < 0) return -1;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

}  // namespace

std::unique_ptr<RecordFile::Handle> createRecordHandle(const std::string& utf8Path) {
    int fd = openLocked(utf8Path, O_RDWR | O_CREAT | O_EXCL);
    if (fd < 0) return nullptr;
    return std::make_unique<PosixRecordHandle>(fd, utf8Path);
}

std::unique_ptr<RecordFile::Handle> claimRecordHandle(const std::string& utf8Path, std::string& bytes) {
    int fd = openLocked(utf8Path, O_RDWR);
    if (fd < 0) return nullptr;
    auto handle = std::make_unique<PosixRecordHandle>(fd, utf8Path);
    bytes.clear();
    char buffer[65536];
    for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) != 0;) {
        if (n < 0) return nullptr;
        bytes.append(buffer, static_cast<size_t>(n));
    }
    return handle;
}

bool setRecordAside(const std::string& utf8Path, const std::string& utf8NewPath) {
    // Never over another file.
    if (::access(utf8NewPath.c_str(), F_OK) == 0) return false;
    return ::rename(utf8Path.c_str(), utf8NewPath.c_str()) == 0;
}
