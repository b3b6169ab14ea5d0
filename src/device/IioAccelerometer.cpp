#include "device/IioAccelerometer.hpp"

#include <algorithm>
#include <string>
#include <system_error>
#include <vector>

#include "platform/SysfsText.hpp"

namespace quarra {
namespace {

constexpr double kStandardGravity = 9.80665;  // m/s^2 per g

std::string attribute(char axis, const char* suffix) { return std::string("in_accel_") + axis + "_" + suffix; }

bool offersAxis(const std::filesystem::path& device, char axis) {
    std::error_code error;
    return std::filesystem::exists(device / attribute(axis, "input"), error) ||
           std::filesystem::exists(device / attribute(axis, "raw"), error);
}

}  // namespace

std::optional<IioAccelerometer> IioAccelerometer::find(const std::filesystem::path& root) {
    std::error_code error;
    std::vector<std::filesystem::path> devices;
    for (std::filesystem::directory_iterator it(root, error), end; !error && it != end; it.increment(error)) {
        devices.push_back(it->path());
    }
    std::sort(devices.begin(), devices.end());
    for (const auto& device : devices) {
        if (offersAxis(device, 'x') && offersAxis(device, 'y') && offersAxis(device, 'z')) return IioAccelerometer(device);
    }
    return std::nullopt;
}

std::optional<double> IioAccelerometer::axis(char name) const {
    if (auto processed = readNumberFile(device_ / attribute(name, "input"))) return *processed;
    auto raw = readNumberFile(device_ / attribute(name, "raw"));
    if (!raw) return std::nullopt;
    auto scale = readNumberFile(device_ / attribute(name, "scale"));
    if (!scale) scale = readNumberFile(device_ / "in_accel_scale");
    auto offset = readNumberFile(device_ / attribute(name, "offset"));
    if (!offset) offset = readNumberFile(device_ / "in_accel_offset");
    return (*raw + offset.value_or(0.0)) * scale.value_or(1.0);
}

std::optional<Acceleration> IioAccelerometer::read() const {
    auto x = axis('x'), y = axis('y'), z = axis('z');
    if (!x || !y || !z) return std::nullopt;
    return Acceleration{-*x / kStandardGravity, -*y / kStandardGravity, -*z / kStandardGravity};
}

}  // namespace quarra
