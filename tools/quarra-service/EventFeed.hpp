#pragma once
// What the service answered, as a feed for the event debugger: the HTTPS
// handlers append and never wait; each browser stream reads from its own
// position. Only the newest events are kept, so memory stays bounded.
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace quarra::service {

class EventFeed {
public:
    struct Entry {
        std::uint64_t sequence;  // 1, 2, ...; a stream resumes after the last it saw
        std::string json;        // the event as compact JSON text
    };

    static constexpr std::size_t kKept = 1000;

    // Numbers the event ("seq") and keeps it; wakes the waiting streams.
    void publish(nlohmann::json event);

    // The events after `after` (all of them when `after` is past the newest),
    // waiting up to `timeout` for one; empty after the timeout or once closed.
    std::vector<Entry> after(std::uint64_t after, std::chrono::milliseconds timeout);

    // Ends every wait for good: streams finish when the service stops.
    void close();
    bool closed();

private:
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<Entry> entries_;
    std::uint64_t last_ = 0;
    bool closed_ = false;
};

}  // namespace quarra::service
