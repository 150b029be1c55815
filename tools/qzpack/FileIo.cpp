#include "FileIo.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "Exception.h"

namespace {

[[noreturn]] void ThrowSystemError(const std::string& what, const std::string& path) {
    throw Exception("cannot " + what + " " + path + ": " + std::strerror(errno));
}

// Closes the descriptor on every path out.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    int Get() const { return fd_; }
    int Release() {
        const int fd = fd_;
        fd_ = -1;
        return fd;
    }

private:
    int fd_;
};

void WriteAll(int fd, const uint8_t* bytes, size_t count) {
    while (count != 0) {
        const ssize_t written = ::write(fd, bytes, count);
        if (written < 0) {
            if (errno == EINTR) continue;
            throw errno;
        }
        bytes += written;
        count -= size_t(written);
    }
}

// Removes the temporary file unless it was renamed into place.
class TemporaryFile {
public:
    explicit TemporaryFile(std::string path) : path_(std::move(path)) {}
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile() {
        if (!path_.empty()) ::unlink(path_.c_str());
    }
    void Keep() { path_.clear(); }

private:
    std::string path_;
};

}  // namespace

std::vector<uint8_t> ReadWholeFile(const std::string& path) {
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.Get() < 0) ThrowSystemError("open", path);
    struct stat status;
    if (::fstat(file.Get(), &status) != 0) ThrowSystemError("read", path);
    if (!S_ISREG(status.st_mode)) throw Exception("cannot read " + path + ": not a regular file");

    std::vector<uint8_t> bytes;
    bytes.reserve(size_t(status.st_size));
    uint8_t chunk[1 << 16];
    for (;;) {
        const ssize_t got = ::read(file.Get(), chunk, sizeof chunk);
        if (got < 0) {
            if (errno == EINTR) continue;
            ThrowSystemError("read", path);
        }
        if (got == 0) break;
        bytes.insert(bytes.end(), chunk, chunk + got);
    }
    return bytes;
}

void ReplaceFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::string temporaryPath = path + ".XXXXXX";
    FileDescriptor file(::mkstemp(temporaryPath.data()));
    if (file.Get() < 0) ThrowSystemError("create a temporary file for", path);
    TemporaryFile temporary(temporaryPath);

    // mkstemp makes the file private; give it the mode a plain create would.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    try {
        if (::fchmod(file.Get(), 0666 & ~mask) != 0) throw errno;
        WriteAll(file.Get(), bytes.data(), bytes.size());
        if (::fsync(file.Get()) != 0) throw errno;
    } catch (int error) {
        errno = error;
        ThrowSystemError("write", path);
    }
    if (::close(file.Release()) != 0) ThrowSystemError("write", path);
    if (::rename(temporaryPath.c_str(), path.c_str()) != 0) ThrowSystemError("write", path);
    temporary.Keep();
}
