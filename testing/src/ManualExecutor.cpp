#include <quarra/testing/ManualExecutor.hpp>

namespace quarra {

ManualExecutor::ManualExecutor(std::shared_ptr<FakeClock> clock) : clock_(std::move(clock)) {}

void ManualExecutor::post(Task task) { postAfter(std::chrono::milliseconds(0), std::move(task)); }

void ManualExecutor::postAfter(std::chrono::milliseconds delay, Task task) {
    {
        std::lock_guard lock(mutex_);
        tasks_.emplace(Key{clock_->now() + delay, sequence_++}, std::move(task));
    }
    posted_.notify_all();
}

bool ManualExecutor::waitForTask(std::chrono::milliseconds limit) const {
    std::unique_lock lock(mutex_);
    return posted_.wait_for(lock, limit, [this] { return !tasks_.empty(); });
}

bool ManualExecutor::runOneDue(Clock::TimePoint limit) {
    Task task;
    {
        std::lock_guard lock(mutex_);
        if (tasks_.empty() || tasks_.begin()->first.due > limit) return false;
        auto first = tasks_.begin();
        if (first->first.due > clock_->now()) clock_->set(first->first.due);
        task = std::move(first->second);
        tasks_.erase(first);
    }
    task();
    return true;
}

size_t ManualExecutor::runUntilIdle() {
    size_t ran = 0;
    while (runOneDue(clock_->now())) ++ran;
    return ran;
}

size_t ManualExecutor::advance(std::chrono::milliseconds by) {
    auto target = clock_->now() + by;
    size_t ran = 0;
    while (runOneDue(target)) ++ran;
    clock_->set(target);
    return ran;
}

size_t ManualExecutor::pending() const {
    std::lock_guard lock(mutex_);
    return tasks_.size();
}

std::optional<std::chrono::milliseconds> ManualExecutor::nextDelay() const {
    std::lock_guard lock(mutex_);
    if (tasks_.empty()) return std::nullopt;
    return std::chrono::duration_cast<std::chrono::milliseconds>(tasks_.begin()->first.due - clock_->now());
}

}  // namespace quarra
