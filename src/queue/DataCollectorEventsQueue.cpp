#include "queue/DataCollectorEventsQueue.hpp"

#include "base/ConsoleLog.hpp"
#include "platform/Environment.hpp"

namespace quarra {

DataCollectorEventsQueue& DataCollectorEventsQueue::shared() {
    // Never destroyed, like the other process-wide services.
    static DataCollectorEventsQueue* instance =
        new DataCollectorEventsQueue(makeMemoryEventStore(), &Environment::shared().console());
    return *instance;
}

DataCollectorEventsQueue::DataCollectorEventsQueue(std::unique_ptr<EventStore> store, const Console* console)
    : store_(store ? std::move(store) : makeMemoryEventStore()), console_(console) {}

uint64_t DataCollectorEventsQueue::addEvent(QueuedEvent event) {
    bool dropped = false;
    uint64_t id = 0;
    {
        std::lock_guard lock(mutex_);
        // A collector that stays unreachable must not grow memory without end.
        while (store_->size() >= limits::kMaxQueuedEvents) {
            if (!store_->popOldest()) break;
            dropped = true;
        }
        id = store_->append(std::move(event));
    }
    if (dropped && console_ != nullptr) console_->log("Event queue full, dropped the oldest event");
    return id;
}

bool DataCollectorEventsQueue::removeEvent(const QueuedEvent& event) {
    std::lock_guard lock(mutex_);
    auto id = store_->findFirst([&event](const QueuedEvent& queued) { return queued.matches(event); });
    return id && store_->remove(*id);
}

bool DataCollectorEventsQueue::removeEvent(uint64_t id) {
    std::lock_guard lock(mutex_);
    return store_->remove(id);
}

std::vector<StoredEvent> DataCollectorEventsQueue::eventsQueueArray() const {
    std::lock_guard lock(mutex_);
    return store_->all();
}

size_t DataCollectorEventsQueue::count() const {
    std::lock_guard lock(mutex_);
    return store_->size();
}

}  // namespace quarra
