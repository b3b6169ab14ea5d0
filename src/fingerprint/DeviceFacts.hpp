#pragma once
// Stable facts about this device, the input of the visitor identifier.
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace quarra {

// (name, value) pairs in name order, for example ("machine-id", "4c4c...")
// or ("mac:eth0", "52:54:00:12:34:56"). Only world-readable files count, so
// the facts do not depend on the user the host runs as: the machine id, the
// DMI names, the device-tree model and serial number, and the permanent
// hardware addresses of physical network interfaces. When none of the
// identifying ones (machine id, serial number, hardware address) is found, a
// random installation identifier kept in `dataDirectory` stands in.
using DeviceFacts = std::vector<std::pair<std::string, std::string>>;

DeviceFacts collectDeviceFacts(const std::filesystem::path& root, const std::filesystem::path& dataDirectory);

}  // namespace quarra
