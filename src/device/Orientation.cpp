#include "device/Orientation.hpp"

#include "platform/DeviceInfo.hpp"

namespace quarra {

std::string_view orientationText(int rawOrientation) {
    return rawOrientation == 3 || rawOrientation == 4 ? "landscape" : "portrait";
}

std::string_view orientationText(DeviceOrientation orientation) {
    return orientationText(static_cast<int>(orientation));
}

std::string_view getDeviceOrientation(const DeviceInfo& device) { return orientationText(device.orientation()); }

}  // namespace quarra
