#include "Drain.hpp"

#include <algorithm>
#include <thread>

#include <quarra/DataCollectorService.hpp>

namespace quarra::cli {
namespace {

constexpr Milliseconds kQuietSpell{250};
constexpr Milliseconds kLookAgain{10};

}  // namespace

DeliveryState deliveryState() {
    auto health = DataCollectorService::defaultService().health();
    return DeliveryState{static_cast<int64_t>(health.inFlight), static_cast<int64_t>(health.queued)};
}

DeliveryState drain(Milliseconds timeout) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + timeout;
    auto left = [&] { return std::max(std::chrono::duration_cast<Milliseconds>(deadline - Clock::now()), Milliseconds(0)); };
    auto idleSince = Clock::time_point::max();
    while (true) {
        // Everything handed in so far has its answer, and any resend pass has ended.
        DataCollectorService::defaultService().flush(left());
        auto state = deliveryState();
        auto now = Clock::now();
        if (!state.idle()) {
            idleSince = Clock::time_point::max();
        } else if (idleSince == Clock::time_point::max()) {
            idleSince = now;
        }
        if (state.idle() && now - idleSince >= kQuietSpell) return state;
        if (now >= deadline) return state;
        std::this_thread::sleep_for(std::min(kLookAgain, left()));
    }
}

}  // namespace quarra::cli
