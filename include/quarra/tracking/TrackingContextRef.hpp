#pragma once
/**
 * @file
 * @brief The tracking controls report through a context.
 *
 * A context bundles the report sender, the main queue, the clock, the
 * console, the device, the accelerometer collector and the process-wide
 * tracking values. Hosts use the shared one; a host's own tests (or a tool
 * that wants to see what a screen sends) can have one whose reports go
 * elsewhere. TrackingContext itself is opaque: hosts only pass it on.
 */
#include <quarra/Export.hpp>
#include <memory>

namespace quarra {

class ReportSender;
class TrackingContext;

/**
 * @brief The library's tracking context; every control uses it unless given another.
 *
 * Built with the library on first use (call configure() first).
 *
 * @par Thread
 * Any thread; the controls that use it are main queue only.
 * @par Lifetime
 * Lives for the process; each control shares it.
 * @par Blocking
 * Never blocks on the disk (builds the library on first use, see
 * DataCollectorService::defaultService()).
 */
QUARRA_API std::shared_ptr<const TrackingContext> sharedTrackingContext();

/**
 * @brief A context like the shared one, except that reports go to `reports` instead of the collector.
 *
 * It shares the shared context's main queue, clock, console, device,
 * accelerometer collector, tracking values and notification centre.
 *
 * @par Thread
 * Any thread. `reports` is called on the library's worker.
 * @par Lifetime
 * `reports` must not be null; the context keeps it alive for as long as the
 * context lives (each control using it holds it). After
 * DataCollectorService::shutdown() reports are refused at once and `reports`
 * is no longer called.
 * @par Blocking
 * Never blocks on the disk (builds the library on first use).
 */
QUARRA_API std::shared_ptr<const TrackingContext> makeTrackingContext(std::shared_ptr<ReportSender> reports);

}  // namespace quarra
