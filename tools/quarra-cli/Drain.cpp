#include "Drain.hpp"

#include <thread>

#include <quarra/DataCollectorService.hpp>

#include "collector/CollectionService.hpp"
#include "queue/DataCollectorEventsQueue.hpp"

namespace quarra::cli {
namespace {

constexpr Milliseconds kPollEvery{10};
constexpr Milliseconds kQuietSpell{250};

}  // namespace

DeliveryState deliveryState() {
    const auto& core = DataCollectorService::defaultService().core();
    return DeliveryState{core->reportsInFlight(), static_cast<int64_t>(core->dependencies().queue->count())};
}


DeliveryState drain(Milliseconds timeout) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + timeout;
    auto idleSince = Clock::time_point::max();
    while (true) {
        auto state = deliveryState();
        auto now = Clock::now();
        if (!state.idle()) {
            idleSince = Clock::time_point::max();
        } else if (idleSince == Clock::time_point::max()) {
            idleSince = now;
        }
        if (state.idle() && now - idleSince >= kQuietSpell) return state;
        if (now >= deadline) return state;
        std::this_thread::sleep_for(kPollEvery);
    }
}

}  // namespace quarra::cli
