// POSIX file classes for the native build: same interface and results as the Windows ones.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cerrno>
#include <chrono>
#include <thread>
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

// Reads are one pread of whatever the caller asks, whichever requests were chosen.
FileReader::FileReader(const std::string& utf8Path, FileRequests) : impl_(std::make_unique<Impl>()) {
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

namespace {

FileError errorFrom(int error) {
    switch (error) {
    case 0: return FileError::None;
    case ENOENT:
    case ENOTDIR: return FileError::NotFound;
    case EEXIST: return FileError::Exists;
    case EACCES:
    case EPERM:
    case EROFS: return FileError::AccessDenied;
    case ENAMETOOLONG: return FileError::NameTooLong;
    case EINVAL:
    case EILSEQ: return FileError::InvalidName;
    case EBUSY:
    case ETXTBSY: return FileError::Busy;
    case ENOSPC:
    case EDQUOT:
    case EFBIG: return FileError::DiskFull;
    default: return FileError::Other;
    }
}

int openFlags(FileWriter::Mode mode) {
    switch (mode) {
    case FileWriter::Mode::Truncate: return O_WRONLY | O_CREAT | O_TRUNC;
    case FileWriter::Mode::CreateNew:
    case FileWriter::Mode::CreateThroughLink: return O_WRONLY | O_CREAT | O_EXCL;
    case FileWriter::Mode::Overwrite: return O_WRONLY;
    }
    return O_WRONLY;
}

}  // namespace

struct FileWriter::Impl {
    int fd = -1;
    bool ok = false;
    FileError error = FileError::None;
    bool cutToWritten = false;
    int64_t written = 0;
    int64_t batch = kWriteBatch;
    std::vector<char> pending;

    ~Impl() {
        if (fd >= 0) ::close(fd);
    }
    void failed(int code) {
        ok = false;
        if (error == FileError::None) error = code ? errorFrom(code) : FileError::Other;
    }
};

FileWriter::FileWriter(const std::string& utf8Path, Mode mode, FileRequests requests)
    : impl_(std::make_unique<Impl>()) {
    if (requests == FileRequests::Large) impl_->batch = kLargeRequestBytes;
    impl_->pending.reserve(static_cast<size_t>(impl_->batch));
    impl_->fd = ::open(utf8Path.c_str(), openFlags(mode) | O_CLOEXEC, 0666);
    impl_->ok = impl_->fd >= 0;
    if (!impl_->ok) {
        impl_->failed(errno);
        return;
    }
    struct stat st {};
    // Only a plain file has a length to cut: a device keeps whatever it is.
    impl_->cutToWritten = mode == Mode::Overwrite && ::fstat(impl_->fd, &st) == 0 && S_ISREG(st.st_mode);
}

FileWriter::~FileWriter() { close(); }

bool FileWriter::isOpen() const { return impl_->fd >= 0; }

bool FileWriter::ok() const { return impl_->ok; }

FileError FileWriter::error() const { return impl_->error; }

int64_t FileWriter::write(const void* bytes, int64_t n) {
    if (n <= 0) return 0;
    const char* data = static_cast<const char*>(bytes);
    const int64_t batch = impl_->batch;
    if (impl_->pending.empty() && n >= batch) {
        // A whole batch or more goes out from the caller's memory, without a copy, a batch
        // at a time.
        if (impl_->fd < 0) impl_->failed(EBADF);
        for (int64_t at = 0; at < n && impl_->fd >= 0; at += batch) {
            if (!writeAll(impl_->fd, data + at, std::min(batch, n - at))) impl_->failed(errno);
        }
        impl_->written += n;
        return n;
    }
    int64_t left = n;
    while (left > 0) {
        int64_t room = batch - static_cast<int64_t>(impl_->pending.size());
        int64_t take = left < room ? left : room;
        impl_->pending.insert(impl_->pending.end(), data, data + take);
        data += take;
        left -= take;
        if (static_cast<int64_t>(impl_->pending.size()) == batch) flush(false);
    }
    return n;
}

void FileWriter::flush(bool all) {
    (void)all;  // writes are synchronous here, so a partial batch is always written
    if (impl_->pending.empty()) return;
    const int64_t size = static_cast<int64_t>(impl_->pending.size());
    if (impl_->fd < 0) impl_->failed(EBADF);
    else if (!writeAll(impl_->fd, impl_->pending.data(), size)) impl_->failed(errno);
    impl_->written += size;
    impl_->pending.clear();
}

bool FileWriter::syncToDisk() {
    flush(true);
    if (impl_->fd < 0) {
        impl_->failed(EBADF);
        return false;
    }
    if (impl_->cutToWritten && ::ftruncate(impl_->fd, impl_->written) != 0) impl_->failed(errno);
    if (::fsync(impl_->fd) != 0) impl_->failed(errno);
    return impl_->ok;
}

void FileWriter::close() {
    if (!impl_ || impl_->fd < 0) return;
    flush(true);
    if (::close(impl_->fd) != 0) impl_->failed(errno);
    impl_->fd = -1;
}

namespace file_system {

namespace {

std::string folderOf(const std::string& path) {
    size_t cut = path.find_last_of('/');
    return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

// Follows symbolic links from path to the name that is not one (which may be missing).
std::string followLinks(const std::string& path) {
    std::string current = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return current;
        std::string target(static_cast<size_t>(st.st_size > 0 ? st.st_size : 256) + 1, '\0');
        ssize_t n = ::readlink(current.c_str(), target.data(), target.size());
        if (n <= 0 || static_cast<size_t>(n) >= target.size()) return current;
        target.resize(static_cast<size_t>(n));
        current = target[0] == '/' ? target : folderOf(current) + target;
    }
    return current;  // a loop of links: the system refuses it when it is opened
}

}  // namespace

FileFacts inspect(const std::string& path) {
    FileFacts facts;
    facts.finalPath = followLinks(path);
    struct stat st {};
    if (::stat(facts.finalPath.c_str(), &st) != 0) return facts;
    facts.exists = true;
    facts.special = !S_ISREG(st.st_mode);
    facts.readOnly = S_ISREG(st.st_mode) && (st.st_mode & 0222) == 0;
    facts.links = static_cast<int>(st.st_nlink);
    return facts;
}

std::string nameBeside(const std::string& target, const char* suffix, int attempt) {
    return folderOf(target) + ".orvane-" + std::to_string(::getpid()) + "-" + std::to_string(attempt) + suffix;
}

bool isSpecialFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode);
}

bool isReadOnly(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && (st.st_mode & 0222) == 0;
}

FileError replace(const std::string& replacement, const std::string& target) {
    if (isReadOnly(target)) return FileError::ReadOnly;
    struct stat st {};
    if (::stat(target.c_str(), &st) == 0) {
        // The new file takes the old one's permissions; ownership only where allowed.
        ::chmod(replacement.c_str(), st.st_mode & 07777);
        if (::chown(replacement.c_str(), st.st_uid, st.st_gid) != 0) {
            // Not the owner: the file is saved as the user's own, as any editor would.
        }
    }
    if (::rename(replacement.c_str(), target.c_str()) != 0) return errorFrom(errno);
    // The new directory entry goes to the disk too.
    std::string folder = folderOf(target);
    int dir = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return FileError::None;
}

bool remove(const std::string& path) { return ::unlink(path.c_str()) == 0; }

bool sameFile(const std::string& a, const std::string& b) {
    struct stat sa {}, sb {};
    return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

bool nameFits(const std::string& path) {
    size_t cut = path.find_last_of('/');
    return path.size() - (cut == std::string::npos ? 0 : cut + 1) <= NAME_MAX;
}

void sleepMilliseconds(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

}  // namespace file_system
