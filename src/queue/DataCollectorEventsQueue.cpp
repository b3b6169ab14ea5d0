#include "queue/DataCollectorEventsQueue.hpp"

#include "base/ConsoleLog.hpp"

namespace quarra {

DataCollectorEventsQueue::DataCollectorEventsQueue(std::unique_ptr<EventStore> store, const Console* console)
    : store_(store ? std::move(store) : makeMemoryEventStore()), console_(console) {}

uint64_t DataCollectorEventsQueue::addEvent(QueuedEvent event, size_t* evicted) {
    size_t dropped = 0;
    uint64_t id = 0;
    {
        std::lock_guard lock(mutex_);
        // A collector that stays unreachable must not grow memory without end.
        auto isPinned = [this](uint64_t stored) { return pinned_.contains(stored); };
        while (store_->size() >= limits::kMaxQueuedEvents && store_->popOldest(isPinned)) ++dropped;
        if (store_->size() < limits::kMaxQueuedEvents) id = store_->append(std::move(event));
    }
    if (evicted) *evicted = dropped;
    if (console_ != nullptr) {
        if (dropped > 0) console_->log("Event queue full, dropped the oldest event");
        if (id == 0) console_->log("Event queue full of events being resent, dropped the new event");
    }
    return id;
}

bool DataCollectorEventsQueue::removeEvent(const QueuedEvent& event) {
    std::lock_guard lock(mutex_);
    auto id = store_->findFirst([&event](const QueuedEvent& queued) { return queued.matches(event); });
    return id && store_->remove(*id);
}

bool DataCollectorEventsQueue::removeEvent(uint64_t id) {
    std::lock_guard lock(mutex_);
    pinned_.erase(id);
    return store_->remove(id);
}

std::vector<StoredEvent> DataCollectorEventsQueue::eventsQueueArray() const {
    std::lock_guard lock(mutex_);
    return store_->all();
}

bool DataCollectorEventsQueue::contains(uint64_t id) const {
    std::lock_guard lock(mutex_);
    return store_->contains(id);
}

void DataCollectorEventsQueue::pin(uint64_t id) {
    std::lock_guard lock(mutex_);
    pinned_.insert(id);
}

void DataCollectorEventsQueue::unpin(uint64_t id) {
    std::lock_guard lock(mutex_);
    pinned_.erase(id);
}

size_t DataCollectorEventsQueue::count() const {
    std::lock_guard lock(mutex_);
    return store_->size();
}

}  // namespace quarra
