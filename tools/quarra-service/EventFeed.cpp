#include "EventFeed.hpp"

#include "HttpJson.hpp"

namespace quarra::service {

void EventFeed::publish(nlohmann::json event) {
    {
        std::lock_guard lock(mutex_);
        if (closed_) return;
        event["seq"] = ++last_;
        entries_.push_back({last_, jsonText(event)});
        if (entries_.size() > kKept) entries_.pop_front();
    }
    wake_.notify_all();
}

std::vector<EventFeed::Entry> EventFeed::after(std::uint64_t after, std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    // A position past the end was seen in an earlier run of the service (a
    // browser reconnecting after a restart): everything here is new to it.
    if (after > last_) after = 0;
    wake_.wait_for(lock, timeout, [&] { return closed_ || last_ > after; });
    std::vector<Entry> found;
    if (closed_) return found;
    for (const auto& entry : entries_) {
        if (entry.sequence > after) found.push_back(entry);
    }
    return found;
}

void EventFeed::close() {
    {
        std::lock_guard lock(mutex_);
        closed_ = true;
    }
    wake_.notify_all();
}

bool EventFeed::closed() {
    std::lock_guard lock(mutex_);
    return closed_;
}

}  // namespace quarra::service
