#include "collector/UserDataPayload.hpp"

#include <cmath>
#include <cstdint>

#include <fmt/format.h>

#include "device/ModelTable.hpp"

namespace quarra {
namespace {

constexpr const char* kUserAgent =
    "Mozilla/5.0 (Windows NT 6.1; Win64; x64) AppleWebKit/537.36 (KHTML, like Gecko) Chrome/59.0.3071.115 "
    "Safari/537.36";

std::string upperCased(std::string text) {
    for (auto& c : text) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return text;
}

// A screen size that is not a finite number is reported as 0 rather than
// stopping the host.
long long wholePoints(double value) { return std::isfinite(value) ? static_cast<long long>(std::trunc(value)) : 0; }

}  // namespace

JSONDictionary buildUserData(const DeviceFacts& device, const BundleValues& bundle, const std::string& pageURL) {
    const std::string appName = bundle.appName.value_or("RudazeruVIV");
    const std::string& os = device.systemName;
    const std::string language =
        device.preferredLanguages.empty() ? std::string("EN") : upperCased(device.preferredLanguages.front());
    // Whole hours, truncated toward zero: +05:30 gives 5, -03:30 gives -3.
    const long hours = device.timeZoneOffsetSeconds / 3600;

    return JSONDictionary{
        {"appName", appName},
        {"url", pageURL},
        {"userAgent", kUserAgent},
        {"os",
         {{"name", os},
          {"short_name", "AND"},
          {"version", bundle.appVersion.value_or("1.0")},
          {"platform", os},
          {"family", device.deviceName}}},
        {"client",
         {{"type", os},
          {"name", appName},
          {"short_name", ""},
          {"version", ""},
          {"engine", ""},
          {"engine_version", ""},
          {"family", device.deviceName},
          {"cookieEnabled", ""},
          {"language", language},
          {"timeZoneOffset", std::to_string(hours)}}},
        {"device",
         {{"id", os},
          {"type", ""},
          {"brand", "Apple"},
          {"model", modelName(device.machineIdentifier)},
          {"colorDepth", ""},
          {"screenSize", fmt::format("{}x{}", wholePoints(device.screenWidth), wholePoints(device.screenHeight))}}},
    };
}

}  // namespace quarra
