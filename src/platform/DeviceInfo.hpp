#pragma once
// The device facts reports carry: names, identifiers, screen, language, time zone.
// Implementations are safe to call from any thread.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <quarra/Clock.hpp>

#include <quarra/DeviceOrientation.hpp>

namespace quarra {

struct ScreenPoints {
    double width = 0;
    double height = 0;
    bool operator==(const ScreenPoints&) const = default;
};

class DeviceInfo {
public:
    virtual ~DeviceInfo() = default;

    // Operating-system name ("Debian GNU/Linux").
    virtual std::string systemName() const = 0;
    // The user-visible device name (the host name on Linux).
    virtual std::string name() const = 0;
    // The hardware identifier the model table is keyed by.
    virtual std::string machineIdentifier() const = 0;
    // Upper-case UUID text, the same for every run with the same data; absent
    // when the platform has none.
    virtual std::optional<std::string> identifierForVendor() const = 0;
    // The kind of device in words ("Laptop", "Desktop", ...).
    virtual std::string localizedModel() const = 0;
    // Main screen size in points; always finite and not negative.
    virtual ScreenPoints screenSize() const = 0;
    // Most preferred first, as language tags ("en-US").
    virtual std::vector<std::string> preferredLanguages() const = 0;
    // Offset of the device's time zone from UTC at `when`, in seconds.
    virtual int64_t timeZoneOffsetSeconds(Clock::TimePoint when) const = 0;
    virtual DeviceOrientation orientation() const = 0;
};

}  // namespace quarra
