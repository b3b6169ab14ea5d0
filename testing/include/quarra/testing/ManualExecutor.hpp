#pragma once
// An executor that runs nothing until the test says so, timed by a FakeClock.
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <optional>

#include <quarra/Executor.hpp>

#include <quarra/testing/FakeClock.hpp>

namespace quarra {

class ManualExecutor final : public Executor {
public:
    explicit ManualExecutor(std::shared_ptr<FakeClock> clock = std::make_shared<FakeClock>());

    void post(Task task) override;
    void postAfter(std::chrono::milliseconds delay, Task task) override;

    // Runs every task that is due now, including tasks those tasks post for
    // now. Returns how many ran.
    size_t runUntilIdle();
    // Moves the clock forward step by step, running each timer at its due time.
    size_t advance(std::chrono::milliseconds by);
    size_t pending() const;
    // Waits (in real time, at most `limit`) until a task is pending; for a
    // test thread that drives this executor while other threads post to it.
    bool waitForTask(std::chrono::milliseconds limit) const;
    // Delay of the earliest pending task from now, if any.
    std::optional<std::chrono::milliseconds> nextDelay() const;

    const std::shared_ptr<FakeClock>& clock() const { return clock_; }

private:
    struct Key {
        Clock::TimePoint due;
        unsigned long long sequence;
        bool operator<(const Key& other) const {
            return due != other.due ? due < other.due : sequence < other.sequence;
        }
    };
    bool runOneDue(Clock::TimePoint limit);

    std::shared_ptr<FakeClock> clock_;
    mutable std::mutex mutex_;
    mutable std::condition_variable posted_;
    std::map<Key, Task> tasks_;
    unsigned long long sequence_ = 0;
};

}  // namespace quarra
