#pragma once
/**
 * @file
 * @brief Whether the device has a usable network path, and when that changes.
 */
#include <quarra/Export.hpp>
#include <functional>

namespace quarra {

/**
 * @brief Watches the network path; drives DataCollectorService::authenticateUser().
 *
 * The library's default reads rtnetlink; a host may give its own as
 * Options::pathMonitor.
 *
 * @par Thread
 * start() and cancel() may be called from any thread. The handler runs on
 * the monitor's own queue, one call at a time.
 * @par Lifetime
 * The monitor keeps the handler until start() replaces it or cancel()
 * releases it. The library keeps
 * its monitor for the rest of the process and cancels it at
 * DataCollectorService::shutdown().
 * @par Blocking
 * start() and cancel() return quickly; a handler should as well.
 */
class QUARRA_API PathMonitor {
public:
    /// Told whether a usable path exists (`satisfied`).
    using Handler = std::function<void(bool satisfied)>;
    /// Destroyed by whoever holds the last reference.
    virtual ~PathMonitor() = default;

    /**
     * @brief Installs `handler` and starts watching.
     *
     * The handler runs once with the current answer, then once for every
     * change of the answer. Calling start() again replaces the handler; the
     * new one also gets the current answer first.
     *
     * @par Thread
     * Any thread; the handler runs on the monitor's queue.
     * @par Lifetime
     * `handler` is kept until the next start() or cancel().
     * @par Blocking
     * Never blocks.
     */
    virtual void start(Handler handler) = 0;

    /**
     * @brief Stops watching.
     *
     * No handler call starts after cancel() returns; one that is already
     * running on the queue may finish. start() may be called again.
     *
     * @par Thread
     * Any thread.
     * @par Lifetime
     * Releases the handler (once a call already running has finished).
     * @par Blocking
     * Returns quickly; it does not wait for a handler call running on the
     * queue.
     */
    virtual void cancel() = 0;
};

}  // namespace quarra
