#pragma once
// A holder for a host location callback. The library neither sets nor calls
// it; it exists for hosts that keep their location handler beside ours.
#include <functional>
#include <optional>
#include <string>

namespace quarra {

struct Location {
    double latitude = 0;
    double longitude = 0;
};

struct LocationManager {
    std::function<void(std::optional<Location> location, std::optional<std::string> error)> requestLocationHandler;
};

}  // namespace quarra
