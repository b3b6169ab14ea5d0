#include "fingerprint/DeviceFacts.hpp"

#include <fcntl.h>
#include <sodium.h>
#include <unistd.h>

#include <algorithm>
#include <optional>
#include <system_error>

#include "platform/SysfsText.hpp"

namespace quarra {
namespace {

namespace fs = std::filesystem;

constexpr const char* kInstallationFile = "device-identity";

// Only files anyone may read: root and an ordinary user see the same facts.
std::optional<std::string> publicFact(const fs::path& path) {
    std::error_code error;
    auto status = fs::status(path, error);
    if (error || !fs::is_regular_file(status) || (status.permissions() & fs::perms::others_read) == fs::perms::none) {
        return std::nullopt;
    }
    auto text = readTrimmedFile(path);
    if (!text || text->empty()) return std::nullopt;
    return text;
}

bool permanentPhysicalAddress(const fs::path& interface, const std::string& address) {
    std::error_code error;
    // Virtual interfaces (bridges, veth pairs, tunnels) have no device link
    // and come and go with containers.
    if (!fs::exists(interface / "device", error)) return false;
    if (auto assignType = readTrimmedFile(interface / "addr_assign_type"); assignType && *assignType != "0") return false;
    return address.find_first_not_of("0:") != std::string::npos;
}

void addHardwareAddresses(const fs::path& root, DeviceFacts& facts) {
    std::error_code error;
    fs::path net = root / "sys/class/net";
    for (fs::directory_iterator it(net, error), end; !error && it != end; it.increment(error)) {
        std::string name = it->path().filename().string();
        if (name == "lo") continue;
        auto address = publicFact(it->path() / "address");
        if (address && permanentPhysicalAddress(it->path(), *address)) facts.emplace_back("mac:" + name, *address);
    }
}

std::optional<std::string> readInstallationId(const fs::path& file) {
    auto text = readTrimmedFile(file);
    if (!text || text->size() != 32 || text->find_first_not_of("0123456789abcdef") != std::string::npos) {
        return std::nullopt;
    }
    return text;
}

// A random identifier made once per data directory (mode 0600).
std::optional<std::string> installationId(const fs::path& dataDirectory) {
    if (dataDirectory.empty()) return std::nullopt;
    fs::path file = dataDirectory / kInstallationFile;
    if (auto existing = readInstallationId(file)) return existing;
    std::error_code error;
    fs::create_directories(dataDirectory, error);
    if (sodium_init() < 0) return std::nullopt;
    unsigned char random[16];
    randombytes_buf(random, sizeof random);
    char hex[33];
    sodium_bin2hex(hex, sizeof hex, random, sizeof random);
    fs::path temporary = file;
    temporary += ".tmp" + std::to_string(::getpid());
    int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) return std::nullopt;
    bool written = ::write(fd, hex, 32) == 32;
    written = ::fsync(fd) == 0 && written;
    ::close(fd);
    if (written) {
        if (fs::exists(file, error)) {
            ::rename(temporary.c_str(), file.c_str());  // a damaged file is replaced
        } else {
            // link() fails when another process made the file first; theirs wins.
            (void)::link(temporary.c_str(), file.c_str());
        }
    }
    ::unlink(temporary.c_str());
    return readInstallationId(file);
}

}  // namespace

DeviceFacts collectDeviceFacts(const fs::path& root, const fs::path& dataDirectory) {
    DeviceFacts facts;
    auto add = [&](const char* name, const fs::path& path) {
        if (auto value = publicFact(root / path)) facts.emplace_back(name, *value);
    };
    add("machine-id", "etc/machine-id");
    add("dmi-sys-vendor", "sys/class/dmi/id/sys_vendor");
    add("dmi-product-name", "sys/class/dmi/id/product_name");
    add("dmi-product-uuid", "sys/class/dmi/id/product_uuid");
    add("dmi-board-vendor", "sys/class/dmi/id/board_vendor");
    add("dmi-board-name", "sys/class/dmi/id/board_name");
    add("dmi-board-serial", "sys/class/dmi/id/board_serial");
    add("dt-model", "proc/device-tree/model");
    add("dt-serial-number", "proc/device-tree/serial-number");
    addHardwareAddresses(root, facts);

    bool identifying = std::any_of(facts.begin(), facts.end(), [](const auto& fact) {
        return fact.first == "machine-id" || fact.first == "dmi-product-uuid" || fact.first == "dmi-board-serial" ||
               fact.first == "dt-serial-number" || fact.first.starts_with("mac:");
    });
    if (!identifying) {
        if (auto id = installationId(dataDirectory)) facts.emplace_back("installation", *id);
    }
    std::sort(facts.begin(), facts.end());
    return facts;
}

}  // namespace quarra
