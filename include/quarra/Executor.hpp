#pragma once
// Where the library runs its work: a serial queue of tasks, with timers.
#include <chrono>
#include <functional>
#include <memory>
#include <string>

namespace quarra {

class Clock;

// A serial task queue. Tasks posted to one executor run one at a time, in the
// order they become due. post() and postAfter() never block and may be called
// from any thread; the task runs on the executor's own thread (or, for the
// manual executor, on whichever thread drives it).
class Executor {
public:
    using Task = std::function<void()>;
    virtual ~Executor() = default;
    virtual void post(Task task) = 0;
    virtual void postAfter(std::chrono::milliseconds delay, Task task) = 0;
};

// A serial queue on its own named thread. post() wakes the thread only when
// it sleeps. The destructor finishes the tasks that are already due, drops
// pending timers, and joins the thread (waiting at most 2 s for a task that
// does not return).
std::shared_ptr<Executor> makeSerialQueue(const std::string& name);

}  // namespace quarra
