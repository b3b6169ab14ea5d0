#pragma once
// One application-wide filter for every TrackedWidget: a press or release on
// a widget reaches each TrackedWidget around it, in its window. A filter per
// tracked widget would run for every event of the application.
namespace quarra::qt {

// Installs the dispatcher on the application once; without one it does nothing.
void ensurePressDispatcher();

}  // namespace quarra::qt
