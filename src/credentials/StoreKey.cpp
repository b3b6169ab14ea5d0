#include "credentials/StoreKey.hpp"

#include <errno.h>
#include <fcntl.h>
#include <sodium.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

namespace quarra {
namespace {

std::string systemError(const std::string& what) { return what + ": " + std::strerror(errno); }

// Closes a descriptor on every path out of a function.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

bool writeAll(int fd, const unsigned char* bytes, size_t size) {
    while (size > 0) {
        ssize_t written = ::write(fd, bytes, size);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        bytes += written;
        size -= static_cast<size_t>(written);
    }
    return true;
}

// Reads the whole key file; one byte more than a key is enough to tell a wrong length.
StoreKeyResult readKeyFile(int fd) {
    unsigned char buffer[StoreKey::kSize + 1];
    size_t total = 0;
    while (total < sizeof buffer) {
        ssize_t got = ::read(fd, buffer + total, sizeof buffer - total);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return {std::nullopt, systemError("cannot read the key file")};
        if (got == 0) break;
        total += static_cast<size_t>(got);
    }
    StoreKeyResult result;
    if (total == StoreKey::kSize) {
        result.key = StoreKey(buffer);
    } else {
        result.error = "the key file does not hold a 32-byte key";
    }
    sodium_memzero(buffer, sizeof buffer);
    return result;
}

StoreKeyResult readExistingKeyFile(const std::filesystem::path& path) {
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW));
    if (fd.get() < 0) return {std::nullopt, systemError("cannot open the key file")};
    return readKeyFile(fd.get());
}

// Writes a fresh key to a private temporary file, then links it into place.
// The link fails when the key file already exists, so a key file is never
// half written and two processes starting together agree on one key.
StoreKeyResult createKeyFile(const std::filesystem::path& path) {
    std::string temporary = path.string() + ".XXXXXX";
    int raw = ::mkostemp(temporary.data(), O_CLOEXEC);  // O_CREAT|O_EXCL, mode 0600
    if (raw < 0) return {std::nullopt, systemError("cannot create the key file")};
    FileDescriptor fd(raw);
    unsigned char bytes[StoreKey::kSize];
    randombytes_buf(bytes, sizeof bytes);
    StoreKey key(bytes);
    bool written =
        ::fchmod(fd.get(), S_IRUSR | S_IWUSR) == 0 && writeAll(fd.get(), bytes, sizeof bytes) && ::fsync(fd.get()) == 0;
    sodium_memzero(bytes, sizeof bytes);
    if (!written) {
        StoreKeyResult failed{std::nullopt, systemError("cannot write the key file")};
        ::unlink(temporary.c_str());
        return failed;
    }
    int linked = ::link(temporary.c_str(), path.c_str());
    int linkError = errno;
    ::unlink(temporary.c_str());
    if (linked == 0) return {key, {}};
    if (linkError == EEXIST) return readExistingKeyFile(path);
    errno = linkError;
    return {std::nullopt, systemError("cannot create the key file")};
}

}  // namespace

StoreKey::StoreKey(const unsigned char* bytes) { std::memcpy(bytes_.data(), bytes, kSize); }

StoreKey::~StoreKey() { sodium_memzero(bytes_.data(), bytes_.size()); }

bool ensureSodium() {
    static const bool started = sodium_init() >= 0;
    return started;
}

StoreKeyResult keyFromHost(const std::vector<unsigned char>& hostKey) {
    if (hostKey.size() != StoreKey::kSize) return {std::nullopt, "the host's key is not 32 bytes"};
    return {StoreKey(hostKey.data()), {}};
}

StoreKeyResult loadOrCreateKeyFile(const std::filesystem::path& path) {
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW));
    if (fd.get() >= 0) return readKeyFile(fd.get());
    if (errno != ENOENT) return {std::nullopt, systemError("cannot open the key file")};
    return createKeyFile(path);
}

}  // namespace quarra
