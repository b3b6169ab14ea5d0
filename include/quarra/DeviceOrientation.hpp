#pragma once
// The device's physical orientation, as a toolkit or sensor reports it.
#include <functional>

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

// Answers the orientation now. The library may call it from any thread, so
// it must not touch toolkit objects that belong to the user-interface thread.
using OrientationSource = std::function<DeviceOrientation()>;

}  // namespace quarra
