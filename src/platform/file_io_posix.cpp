// POSIX file classes for the native build: same interface and results as the Windows ones.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>
#include <cstring>
#include <vector>

#include "platform/file_io.h"

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

FileWriter::FileWriter(const std::string& utf8Path, Mode mode) : impl_(std::make_unique<Impl>()) {
    int flags = O_WRONLY | O_CREAT | O_CLOEXEC | (mode == Mode::CreateNew ? O_EXCL : O_TRUNC);
    impl_->fd = ::open(utf8Path.c_str(), flags, 0666);
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

bool FileWriter::syncToDisk() {
    flush(true);
    if (impl_->fd < 0 || ::fsync(impl_->fd) != 0) impl_->ok = false;
    return impl_->ok;
}

void FileWriter::close() {
    if (!impl_ || impl_->fd < 0) return;
    flush(true);
    if (::close(impl_->fd) != 0) impl_->ok = false;
    impl_->fd = -1;
}

namespace file_system {

std::string temporaryNameBeside(const std::string& target, int attempt) {
    size_t cut = target.find_last_of('/');
    std::string folder = cut == std::string::npos ? std::string() : target.substr(0, cut + 1);
    std::string name = cut == std::string::npos ? target : target.substr(cut + 1);
    return folder + "." + name + ".orvane-" + std::to_string(::getpid()) + "-" + std::to_string(attempt) + ".tmp";
}

bool exists(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

bool isSpecialFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode);
}

bool isReadOnly(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && (st.st_mode & 0222) == 0;
}

bool replace(const std::string& replacement, const std::string& target) {
    // A link is written through: the file it names is replaced, the link stays.
    std::string destination = target;
    if (char* resolved = ::realpath(target.c_str(), nullptr)) {
        destination = resolved;
        std::free(resolved);
    }
    if (isReadOnly(destination)) {
        errno = EACCES;
        return false;
    }
    struct stat st {};
    if (::stat(destination.c_str(), &st) == 0) {
        // The new file takes the old one's permissions; ownership only where allowed.
        ::chmod(replacement.c_str(), st.st_mode & 07777);
        if (::chown(replacement.c_str(), st.st_uid, st.st_gid) != 0) {
            // Not the owner: the file is saved as the user's own, as any editor would.
        }
    }
    if (::rename(replacement.c_str(), destination.c_str()) != 0) return false;
    // The new directory entry goes to the disk too.
    size_t cut = destination.find_last_of('/');
    std::string folder = cut == std::string::npos ? std::string(".") : destination.substr(0, cut + 1);
    int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

bool remove(const std::string& path) { return ::unlink(path.c_str()) == 0; }

}  // namespace file_system
