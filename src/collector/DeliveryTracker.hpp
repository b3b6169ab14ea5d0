#pragma once
// Which reports still wait for their final answer (accepted, refused, or
// queued after a failure), so that a flush can tell when everything handed in
// before it has been answered. Worker only, except inFlight().
#include <atomic>
#include <cstdint>
#include <functional>
#include <set>
#include <vector>

namespace quarra {

class DeliveryTracker {
public:
    using Ticket = uint64_t;

    // A report has entered the collector.
    Ticket begin();
    // Its final answer is known; ending a ticket twice changes nothing.
    void end(Ticket ticket);

    // Calls `settled` once every report begun before this call has ended
    // and `quiet()` holds (no resend pass under way); at once when that is
    // already so. Re-checked by end() and by recheck().
    void whenSettled(std::function<void()> settled, std::function<bool()> quiet);
    void recheck();

    // Reports begun and not yet ended. Any thread.
    uint64_t inFlight() const { return inFlight_.load(std::memory_order_relaxed); }

private:
    struct Waiter {
        Ticket upTo;
        std::function<void()> settled;
        std::function<bool()> quiet;
    };

    Ticket next_ = 1;
    std::set<Ticket> open_;
    std::vector<Waiter> waiters_;
    std::atomic<uint64_t> inFlight_{0};
};

}  // namespace quarra
