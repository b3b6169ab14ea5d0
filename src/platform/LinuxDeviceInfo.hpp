#pragma once
// Device facts of a Linux machine: os-release, host name, device-tree or DMI
// identity, the locale, the system time zone, and a per-installation
// identifier kept in the secure store.
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <quarra/DeviceOrientation.hpp>

#include "platform/DeviceInfo.hpp"

namespace quarra {

class KeychainWrapper;

struct LinuxDeviceInfoSettings {
    // Where /etc, /proc and /sys are looked up (a fake tree in tests).
    std::filesystem::path root = "/";
    // From the host; non-finite or negative values give 390 x 844.
    double screenWidth = 390;
    double screenHeight = 844;
    // From the host; empty: from the locale variables below.
    std::vector<std::string> preferredLanguages;
    // Keeps the vendor identifier (must outlive the device info); without
    // one the device has none.
    KeychainWrapper* keychain = nullptr;
    // From the host; empty: unknown (a desktop has no orientation sensor).
    OrientationSource orientation;

    // System sources; left empty they ask the running system.
    std::function<std::optional<std::string>(const std::string& name)> environmentVariable;
    std::function<std::string()> hostName;
    std::function<std::string()> unameMachine;
};

// The secure-store key of the vendor identifier.
inline constexpr const char* kVendorIdKey = "DataCollectorVendorId";

std::shared_ptr<DeviceInfo> makeLinuxDeviceInfo(LinuxDeviceInfoSettings settings);

// "de_DE.UTF-8@euro" -> "de-DE"; none for "C", "POSIX" and empty texts.
std::optional<std::string> languageTagFromLocale(std::string_view locale);

}  // namespace quarra
