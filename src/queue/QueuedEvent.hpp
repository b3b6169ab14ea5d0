#pragma once
#include <quarra/Json.hpp>

#include "transport/DataCollectorAPI.hpp"

namespace quarra {

// A report that could not be delivered: its case and its dictionary
// (without the envelope).
struct QueuedEvent {
    DataCollectorAPI type;
    JSONDictionary event;

    // Whether this queued event matches `other`: for every key of this
    // event, a text value needs the same text under that key in `other`; any
    // other value must be a text-to-text object equal to `other`'s. Any other
    // kind of value never matches. `type` is not compared.
    bool matches(const QueuedEvent& other) const;
};

}  // namespace quarra
