#pragma once
// Reports waiting to be sent again. Safe from any thread.
#include <cstddef>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "base/Limits.hpp"
#include "queue/EventStore.hpp"

namespace quarra {

class Console;

class DataCollectorEventsQueue {
public:
    static DataCollectorEventsQueue& shared();
    // `console` (may be null) hears about events dropped when the queue is full.
    explicit DataCollectorEventsQueue(std::unique_ptr<EventStore> store = makeMemoryEventStore(),
                                      const Console* console = nullptr);

    bool shouldShowLogs = false;  // kept for hosts that set it; never read

    // Appends at the end; when limits::kMaxQueuedEvents are held, drops the oldest first (with a console line).
    // Returns the new entry's identifier.
    uint64_t addEvent(QueuedEvent event);
    // Removes the first (oldest) entry that matches `event`.
    bool removeEvent(const QueuedEvent& event);
    // Removes the entry with this identifier, if it is still there.
    bool removeEvent(uint64_t id);

    std::vector<StoredEvent> eventsQueueArray() const;
    size_t count() const;
    bool isEmpty() const { return count() == 0; }

private:
    mutable std::mutex mutex_;
    std::unique_ptr<EventStore> store_;
    const Console* console_;
};

}  // namespace quarra
