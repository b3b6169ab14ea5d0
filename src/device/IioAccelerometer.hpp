#pragma once
// One accelerometer of the Linux industrial I/O subsystem, read via sysfs.
#include <filesystem>
#include <optional>

#include <quarra/AccelerometerSource.hpp>

namespace quarra {

inline constexpr const char* kDefaultIioRoot = "/sys/bus/iio/devices";

class IioAccelerometer {
public:
    // The first device under `root` (in name order) that offers all three
    // axes, as in_accel_<axis>_input or in_accel_<axis>_raw; nullopt when none does.
    static std::optional<IioAccelerometer> find(const std::filesystem::path& root = kDefaultIioRoot);

    explicit IioAccelerometer(std::filesystem::path device) : device_(std::move(device)) {}

    // One reading in g, in the library's convention (face up reads z -1, the
    // opposite sign of the kernel's). Raw values are (raw + offset) * scale
    // in m/s^2, with per-axis scale and offset taking precedence over shared
    // ones. nullopt when any axis cannot be read.
    std::optional<Acceleration> read() const;

    const std::filesystem::path& device() const { return device_; }

private:
    std::optional<double> axis(char name) const;
    std::filesystem::path device_;
};

}  // namespace quarra
