#pragma once
// A report kept for sending (again): its case, its dictionary (without the
// envelope), the key that names it on the wire, and when it was made.
#include <optional>
#include <string>
#include <string_view>

#include <quarra/Clock.hpp>
#include <quarra/Json.hpp>

#include "transport/DataCollectorAPI.hpp"

namespace quarra {

struct QueuedEvent {
    DataCollectorAPI type;
    JSONDictionary event;
    // Every attempt of the report carries it (the "Idempotency-Key" header),
    // so that the service can tell a repeat; empty for a report made without one.
    std::string idempotencyKey;
    // When the report was made; the age bound counts from it.
    Clock::TimePoint createdAt{};

    // Whether this queued event matches `other`: for every key of this
    // event, a text value needs the same text under that key in `other`; any
    // other value must be a text-to-text object equal to `other`'s. Any other
    // kind of value never matches. `type` is not compared.
    bool matches(const QueuedEvent& other) const;
};

// The event as the outbox keeps it (compact JSON of its case, its four
// associated values, its key, its time and its dictionary); nullopt when the
// dictionary cannot be written as JSON.
std::optional<std::string> encodeQueuedEvent(const QueuedEvent& event);

// The same record, put together around `eventJSON`, the dictionary already
// written as compact JSON (the event's own dictionary is not read), so that a
// report's dictionary is serialised once for the outbox and the wire. The
// dictionary's text sits at [eventOffset, eventOffset + eventLength).
struct EncodedRecord {
    std::string text;
    size_t eventOffset = 0;
    size_t eventLength = 0;
};
std::optional<EncodedRecord> encodeQueuedRecord(const DataCollectorAPI& type, const std::string& idempotencyKey,
                                                Clock::TimePoint createdAt, std::string_view eventJSON);
// The event back from that text; nullopt when it is not one.
std::optional<QueuedEvent> decodeQueuedEvent(std::string_view text);

}  // namespace quarra
