#pragma once
// Values that library completions hand to the thread playing the scenario.
// Completions run on the library's threads, possibly after their step gave up
// waiting, so both sides share the mailbox through a shared_ptr.
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <optional>
#include <vector>

namespace quarra::cli {

// Keeps every value posted, in order; a reader waits for the n-th one.
template <typename T>
class Mailbox {
public:
    void post(T value) {
        {
            std::lock_guard lock(mutex_);
            values_.push_back(std::move(value));
        }
        arrived_.notify_all();
    }

    std::size_t count() const {
        std::lock_guard lock(mutex_);
        return values_.size();
    }

    // The value at `index` (0 is the first posted), once it has arrived;
    // nothing when it does not arrive within `timeout`.
    std::optional<T> waitFor(std::size_t index, std::chrono::milliseconds timeout) const {
        std::unique_lock lock(mutex_);
        if (!arrived_.wait_for(lock, timeout, [&] { return values_.size() > index; })) return std::nullopt;
        return values_[index];
    }

private:
    mutable std::mutex mutex_;  // guards values_
    mutable std::condition_variable arrived_;
    std::vector<T> values_;
};

}  // namespace quarra::cli
