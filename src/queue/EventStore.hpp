#pragma once
// Where queued events live. In memory for now; a durable store can take its
// place without the queue's users noticing.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "queue/QueuedEvent.hpp"

namespace quarra {

// Each stored event gets an identifier that stays the same while it is stored.
struct StoredEvent {
    uint64_t id = 0;
    QueuedEvent event;
};

class EventStore {
public:
    virtual ~EventStore() = default;
    virtual uint64_t append(QueuedEvent event) = 0;
    virtual std::vector<StoredEvent> all() const = 0;  // oldest first
    virtual bool remove(uint64_t id) = 0;
    // The identifier of the oldest event for which `predicate` holds.
    virtual std::optional<uint64_t> findFirst(const std::function<bool(const QueuedEvent&)>& predicate) const = 0;
    virtual size_t size() const = 0;
    virtual bool contains(uint64_t id) const = 0;
    // Removes and returns the oldest event for which `keep` is false, if any.
    virtual std::optional<StoredEvent> popOldest(const std::function<bool(uint64_t id)>& keep) = 0;
};

std::unique_ptr<EventStore> makeMemoryEventStore();

}  // namespace quarra
