#pragma once
// The device's physical orientation and the text reports carry for it.
#include <string_view>

#include <quarra/DeviceOrientation.hpp>

namespace quarra {

// "landscape" for landscape left or right (raw 3 and 4), "portrait" for every
// other value, including raw values outside the enumeration.
std::string_view orientationText(DeviceOrientation orientation);
std::string_view orientationText(int rawOrientation);

class DeviceInfo;

// The orientation text of the device right now.
std::string_view getDeviceOrientation(const DeviceInfo& device);

}  // namespace quarra
