// POSIX file classes for the native build: same interface and results as the Windows ones.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "editor/file_io.h"

namespace {
constexpr int64_t kBlockSize = 8192;
constexpr int64_t kWriteBatch = 16 * kBlockSize;

bool writeAll(int fd, const char* data, int64_t n) {
    while (n > 0) {
        ssize_t done = ::write(fd, data, static_cast<size_t>(n));
        if (done < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += done;
        n -= done;
    }
    return true;
}
}  // namespace

struct FileReader::Impl {
    int fd = -1;
    int64_t size = 0;
    int64_t position = 0;
    bool failed = false;
};

FileReader::FileReader(const std::string& utf8Path) : impl_(std::make_unique<Impl>()) {
    int fd = ::open(utf8Path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        ::close(fd);
        return;
    }
    impl_->fd = fd;
    impl_->size = st.st_size;
}

FileReader::~FileReader() { close(); }

bool FileReader::isOpen() const { return impl_->fd >= 0; }

int64_t FileReader::size() { return impl_->size; }

bool FileReader::failed() const { return impl_->failed; }

int64_t FileReader::read(void* buffer, int64_t n) {
    if (impl_->fd < 0 || n <= 0) return 0;
    if (n > impl_->size - impl_->position) n = impl_->size - impl_->position;
    if (n < 1) return 0;
    int64_t copied = 0;
    auto* out = static_cast<char*>(buffer);
    while (copied < n) {
        ssize_t got = ::pread(impl_->fd, out + copied, static_cast<size_t>(n - copied), impl_->position);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) {
            impl_->failed = true;
            break;
        }
        copied += got;
        impl_->position += got;
    }
    return copied;
}

void FileReader::close() {
    if (impl_ && impl_->fd >= 0) {
        ::close(impl_->fd);
        impl_->fd = -1;
    }
}

struct FileWriter::Impl {
    int fd = -1;
    bool ok = false;
    std::vector<char> pending;
};

FileWriter::FileWriter(const std::string& utf8Path) : impl_(std::make_unique<Impl>()) {
    impl_->fd = ::open(utf8Path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    impl_->ok = impl_->fd >= 0;
    impl_->pending.reserve(kWriteBatch);
}

FileWriter::~FileWriter() { close(); }

bool FileWriter::isOpen() const { return impl_->fd >= 0; }

bool FileWriter::ok() const { return impl_->ok; }

int64_t FileWriter::write(const void* bytes, int64_t n) {
    if (n <= 0) return 0;
    const char* data = static_cast<const char*>(bytes);
    int64_t left = n;
    while (left > 0) {
        int64_t room = kWriteBatch - static_cast<int64_t>(impl_->pending.size());
        int64_t take = left < room ? left : room;
        impl_->pending.insert(impl_->pending.end(), data, data + take);
        data += take;
        left -= take;
        if (static_cast<int64_t>(impl_->pending.size()) == kWriteBatch) flush(false);
    }
    return n;
}

void FileWriter::flush(bool all) {
    (void)all;  // writes are synchronous here, so a partial batch is always written
    if (impl_->pending.empty()) return;
    if (impl_->fd < 0 || !writeAll(impl_->fd, impl_->pending.data(), static_cast<int64_t>(impl_->pending.size())))
        impl_->ok = false;
    impl_->pending.clear();
}

void FileWriter::close() {
    if (!impl_ || impl_->fd < 0) return;
    flush(true);
    if (::close(impl_->fd) != 0) impl_->ok = false;
    impl_->fd = -1;
}
