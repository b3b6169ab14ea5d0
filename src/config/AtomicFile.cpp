#include "config/AtomicFile.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

namespace quarra {
namespace {

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// Makes the rename itself durable; a failure here does not undo the write.
void syncDirectory(const std::filesystem::path& directory) {
    int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    (void)::fsync(fd);
    (void)::close(fd);
}

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) (void)::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }
    // Closes now and reports whether buffered data made it out.
    bool close() {
        int fd = fd_;
        fd_ = -1;
        return fd < 0 || ::close(fd) == 0;
    }

private:
    int fd_;
};

}  // namespace

bool writeFileAtomically(const std::filesystem::path& path, std::string_view bytes) {
    const auto directory = path.parent_path().empty() ? std::filesystem::path(".") : path.parent_path();
    std::string pattern = (directory / (path.filename().string() + ".tmp-XXXXXX")).string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');

    FileDescriptor file(::mkostemp(name.data(), O_CLOEXEC));  // mode 0600
    if (file.get() < 0) return false;
    const bool written = writeAll(file.get(), bytes) && ::fsync(file.get()) == 0;
    const bool closed = file.close();
    if (!written || !closed || ::rename(name.data(), path.c_str()) != 0) {
        (void)::unlink(name.data());
        return false;
    }
    syncDirectory(directory);
    return true;
}

FileReadResult readWholeFile(const std::filesystem::path& path, std::size_t maxBytes) {
    FileReadResult result;
    // O_NONBLOCK keeps a FIFO planted at the path from blocking the open; it is refused below.
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (file.get() < 0) {
        result.status = errno == ENOENT ? FileReadStatus::missing : FileReadStatus::failed;
        return result;
    }
    struct stat info {};
    if (::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode)) return result;

    // Read up to one byte past the limit: the size on disk may change while we read.
    std::string bytes;
    char buffer[64 * 1024];
    while (bytes.size() <= maxBytes) {
        ssize_t n = ::read(file.get(), buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) continue;
            return result;
        }
        if (n == 0) break;
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    if (bytes.size() > maxBytes) return result;
    result.status = FileReadStatus::ok;
    result.bytes = std::move(bytes);
    return result;
}

}  // namespace quarra
