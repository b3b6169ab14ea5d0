#include "base/PrivateFiles.hpp"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

namespace quarra {
namespace {

std::string systemError(const std::string& what, const std::filesystem::path& path) {
    return what + " " + path.string() + ": " + std::strerror(errno);
}

}  // namespace

std::optional<std::string> makePrivateDirectory(const std::filesystem::path& directory) {
    std::filesystem::path partial;
    for (const auto& part : directory) {
        partial /= part;
        if (::mkdir(partial.c_str(), S_IRWXU) != 0 && errno != EEXIST) {
            return systemError("cannot create the directory", partial);
        }
    }
    struct stat status {};
    if (::stat(directory.c_str(), &status) != 0) return systemError("cannot reach the directory", directory);
    if (!S_ISDIR(status.st_mode)) return "not a directory: " + directory.string();
    if ((status.st_mode & (S_IRWXG | S_IRWXO)) == 0) return std::nullopt;
    if (status.st_uid != ::geteuid()) {
        return "the directory " + directory.string() + " is open to other users and belongs to another one";
    }
    if (::chmod(directory.c_str(), S_IRWXU) != 0) return systemError("cannot make private", directory);
    return std::nullopt;
}

std::optional<std::string> touchPrivateFile(const std::filesystem::path& path) {
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, S_IRUSR | S_IWUSR);
    if (fd < 0) return systemError("cannot open", path);
    ::close(fd);
    return std::nullopt;
}

}  // namespace quarra
