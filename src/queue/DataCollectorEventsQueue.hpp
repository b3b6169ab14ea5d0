#pragma once
// Reports waiting to be sent again. Safe from any thread.
#include <cstddef>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <vector>

#include "base/Limits.hpp"
#include "queue/EventStore.hpp"

namespace quarra {

class Console;

class DataCollectorEventsQueue {
public:
    // The process-wide queue the library built.
    static DataCollectorEventsQueue& shared();
    // `console` (may be null) hears about events dropped when the queue is full.
    explicit DataCollectorEventsQueue(std::unique_ptr<EventStore> store = makeMemoryEventStore(),
                                      const Console* console = nullptr);

    bool shouldShowLogs = false;  // kept for hosts that set it; never read

    // Appends at the end; when limits::kMaxQueuedEvents are held, drops the
    // oldest entries that are not pinned (with a console line), or, when all
    // are pinned, the new one. Returns the new entry's identifier, or 0 when
    // it was not kept; `evicted` (when given) gets how many older ones went.
    uint64_t addEvent(QueuedEvent event, size_t* evicted = nullptr);
    // Removes the first (oldest) entry that matches `event`.
    bool removeEvent(const QueuedEvent& event);
    // Removes the entry with this identifier, if it is still there.
    bool removeEvent(uint64_t id);

    std::vector<StoredEvent> eventsQueueArray() const;
    size_t count() const;
    bool contains(uint64_t id) const;

    // An entry being resent: a full queue does not push it out.
    void pin(uint64_t id);
    void unpin(uint64_t id);
    bool isEmpty() const { return count() == 0; }

private:
    mutable std::mutex mutex_;
    std::unique_ptr<EventStore> store_;
    std::set<uint64_t> pinned_;
    const Console* console_;
};

}  // namespace quarra
