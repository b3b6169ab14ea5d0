#pragma once
// The tracking controls report through a context: the report sender, the
// main queue, the clock, the console, the device, the accelerometer collector
// and the process-wide tracking values. Hosts use the shared one; tests build
// their own.
#include <memory>

namespace quarra {

class TrackingContext;

// Built on first use from the process-wide services (call configure() first).
std::shared_ptr<const TrackingContext> sharedTrackingContext();

}  // namespace quarra
