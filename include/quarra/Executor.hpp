#pragma once
/**
 * @file
 * @brief Where the library runs its work: a serial queue of tasks, with timers.
 */
#include <quarra/Export.hpp>
#include <chrono>
#include <functional>
#include <memory>
#include <string>

namespace quarra {

class Clock;

/**
 * @brief A serial task queue.
 *
 * Tasks posted to one executor run one at a time, in the order they become
 * due. A host hands its user-interface queue to the library as
 * Options::mainExecutor (quarra::qt::makeMainQueueExecutor() for Qt).
 *
 * @par Thread
 * post() and postAfter() may be called from any thread, concurrently; the
 * task runs on the executor's own thread (for a host's main executor: the
 * user-interface thread).
 * @par Lifetime
 * An executor keeps each task until it has run or has been dropped. The
 * library keeps a host's executor for the rest of the process and never
 * stops it, also not at DataCollectorService::shutdown().
 * @par Blocking
 * post() and postAfter() never block.
 */
class QUARRA_API Executor {
public:
    /// A unit of work; it runs once, on the executor's thread.
    using Task = std::function<void()>;
    /// Destroyed by whoever holds the last reference; what happens to pending tasks is the implementation's.
    virtual ~Executor() = default;
    /// Runs `task` after the tasks already due. Any thread; never blocks.
    virtual void post(Task task) = 0;
    /// Runs `task` once `delay` has passed. Any thread; never blocks.
    virtual void postAfter(std::chrono::milliseconds delay, Task task) = 0;
};

/**
 * @brief A serial queue on its own named thread.
 *
 * post() wakes the thread only when it sleeps. The name is cut to the 15
 * characters Linux keeps for a thread name.
 *
 * @par Thread
 * Any thread. The queue's thread starts at once.
 * @par Lifetime
 * The last reference's release stops the queue: it finishes the tasks that
 * are already due, drops pending timers, and joins the thread. Released from
 * one of its own tasks, it lets the thread end by itself.
 * @par Blocking
 * Making it never blocks. Its destructor waits at most 2 s for a task that
 * does not return (the thread is then left to end by itself).
 */
QUARRA_API std::shared_ptr<Executor> makeSerialQueue(const std::string& name);

}  // namespace quarra
