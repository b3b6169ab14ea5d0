#include "collector/DeliveryTracker.hpp"

namespace quarra {

DeliveryTracker::Ticket DeliveryTracker::begin() {
    const Ticket ticket = next_++;
    open_.insert(ticket);
    inFlight_.store(open_.size(), std::memory_order_relaxed);
    return ticket;
}

void DeliveryTracker::end(Ticket ticket) {
    if (open_.erase(ticket) == 0) return;
    inFlight_.store(open_.size(), std::memory_order_relaxed);
    recheck();
}

void DeliveryTracker::whenSettled(std::function<void()> settled, std::function<bool()> quiet) {
    waiters_.push_back(Waiter{next_ - 1, std::move(settled), std::move(quiet)});
    recheck();
}

void DeliveryTracker::recheck() {
    if (waiters_.empty()) return;
    const Ticket oldestOpen = open_.empty() ? next_ : *open_.begin();
    std::vector<std::function<void()>> ready;
    for (auto it = waiters_.begin(); it != waiters_.end();) {
        if (oldestOpen > it->upTo && (!it->quiet || it->quiet())) {
            ready.push_back(std::move(it->settled));
            it = waiters_.erase(it);
        } else {
            ++it;
        }
    }
    for (auto& settled : ready) {
        if (settled) settled();
    }
}

}  // namespace quarra
