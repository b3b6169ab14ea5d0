#pragma once
// Waiting until the library has nothing left to deliver.
#include <cstdint>

#include "Scenario.hpp"

namespace quarra::cli {

struct DeliveryState {
    int64_t inFlight = 0;  // reports handed to the transport, not yet answered
    int64_t queued = 0;    // reports waiting to be sent again

    bool idle() const { return inFlight == 0 && queued == 0; }
};

// The library's delivery right now.
DeliveryState deliveryState();

// Waits until no report is in flight and the queue is empty, and has stayed
// so for a short quiet spell (a start of collection or a resend pass may be
// about to hand over the next report). The state at the end.
DeliveryState drain(Milliseconds timeout);

}  // namespace quarra::cli
