#pragma once
// A serial queue on its own named thread, with timers: the library's worker,
// and the main queue of a host that brings none.
#include <chrono>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include <quarra/Executor.hpp>

namespace quarra {

class SerialQueue final : public Executor {
public:
    // The thread starts at once; `name` is cut to the 15 characters Linux keeps.
    explicit SerialQueue(std::string name);
    // Stops as by stop(StopMode::finishDue).
    ~SerialQueue() override;
    SerialQueue(const SerialQueue&) = delete;
    SerialQueue& operator=(const SerialQueue&) = delete;

    // Never block; any thread. Tasks posted after stop() are dropped.
    void post(Task task) override;
    void postAfter(std::chrono::milliseconds delay, Task task) override;

    enum class StopMode {
        // Runs every task still queued, timers as if their time had come, and
        // what those tasks post in turn (at most kMaxDrainedTasks), then ends.
        drain,
        // Runs the tasks that are due now, then ends; timers are released unrun.
        finishDue,
        // Ends after the task that is running; queued tasks are released unrun.
        drop,
    };
    static constexpr std::size_t kMaxDrainedTasks = 100'000;

    // Ends the thread and joins it, waiting at most `joinLimit` for a task
    // that does not return (the thread is then left to end by itself).
    // Called from the queue's own thread it only asks the thread to end.
    // Safe to call more than once; later calls change nothing.
    void stop(StopMode mode, std::chrono::milliseconds joinLimit = std::chrono::seconds(2));

    bool isCurrentThread() const { return std::this_thread::get_id() == threadId_; }

    struct State;

private:
    std::shared_ptr<State> state_;
    std::mutex joinMutex_;  // one caller joins or detaches thread_
    std::thread thread_;
    std::thread::id threadId_;
};

}  // namespace quarra
