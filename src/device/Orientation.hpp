#pragma once
// The device's physical orientation and the text reports carry for it.
#include <string_view>

namespace quarra {

// Raw values as the platform reports them.
enum class DeviceOrientation {
    unknown = 0,
    portrait = 1,
    portraitUpsideDown = 2,
    landscapeLeft = 3,
    landscapeRight = 4,
    faceUp = 5,
    faceDown = 6,
};

// "landscape" for landscape left or right (raw 3 and 4), "portrait" for every
// other value, including raw values outside the enumeration.
std::string_view orientationText(DeviceOrientation orientation);
std::string_view orientationText(int rawOrientation);

class DeviceInfo;

// The orientation text of the device right now.
std::string_view getDeviceOrientation(const DeviceInfo& device);

}  // namespace quarra
