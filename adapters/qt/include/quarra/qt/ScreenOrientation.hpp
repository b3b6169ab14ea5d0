#pragma once
// The orientation of the primary screen, for Options::orientationSource.
#include <quarra/DeviceOrientation.hpp>

namespace quarra::qt {

// Call on the GUI thread once the QGuiApplication exists. The source follows
// the primary screen's orientation changes and may be asked from any thread.
OrientationSource primaryScreenOrientation();

}  // namespace quarra::qt
