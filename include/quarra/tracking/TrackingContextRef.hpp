#pragma once
// The tracking controls report through a context: the report sender, the
// main queue, the clock, the console, the device, the accelerometer collector
// and the process-wide tracking values. Hosts use the shared one; a host's
// own tests (or a tool that wants to see what a screen sends) can have one
// whose reports go elsewhere.
#include <memory>

namespace quarra {

class ReportSender;
class TrackingContext;

// The library's context; built with the library on first use (call
// configure() first). Lives for the process.
std::shared_ptr<const TrackingContext> sharedTrackingContext();

// A context like the shared one, except that reports go to `reports` (called
// on the library's worker) instead of the collector. `reports` must not be
// null; the context keeps it alive.
std::shared_ptr<const TrackingContext> makeTrackingContext(std::shared_ptr<ReportSender> reports);

}  // namespace quarra
