#pragma once
// The start-up report that describes the application and the device.
#include <optional>
#include <string>
#include <vector>

#include <quarra/Json.hpp>

namespace quarra {

struct DeviceFacts {
    std::string systemName;         // operating-system name
    std::string deviceName;         // the user-visible device name
    std::string machineIdentifier;  // hardware identifier, mapped to a marketing name
    double screenWidth = 0;         // points
    double screenHeight = 0;
    std::vector<std::string> preferredLanguages;
    long timeZoneOffsetSeconds = 0;  // from GMT, at this moment
};

struct BundleValues {
    std::optional<std::string> appName;     // "RudazeruVIV" when absent
    std::optional<std::string> appVersion;  // "1.0" when absent
};

JSONDictionary buildUserData(const DeviceFacts& device, const BundleValues& bundle, const std::string& pageURL);

}  // namespace quarra
