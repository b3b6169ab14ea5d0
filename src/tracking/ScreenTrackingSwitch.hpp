#pragma once
// Screen tracking is switched on after the first online authentication and
// stays on: later authentications do not switch it off again.
#include <functional>

namespace quarra {

// Switches screen tracking on (once per process; later calls do nothing).
void switchOnScreenTracking();
bool screenTrackingOn();
// What switching on does; the screen-tracking layer installs its hooks here.
// Runs the installer at once when tracking is already on.
void setScreenTrackingInstaller(std::function<void()> installer);

}  // namespace quarra
