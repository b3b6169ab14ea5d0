#include "queue/DataCollectorEventsQueue.hpp"

#include "base/ConsoleLog.hpp"
#include "base/JsonText.hpp"

namespace quarra {

DataCollectorEventsQueue::DataCollectorEventsQueue(std::unique_ptr<EventStore> store, const Console* console,
                                                   std::shared_ptr<Clock> clock, Bounds bounds)
    : store_(store ? std::move(store) : makeMemoryEventStore()),
      console_(console),
      clock_(clock ? std::move(clock) : std::make_shared<SystemClock>()),
      bounds_(bounds) {}

// ---- loading, bounds and the store ----

void DataCollectorEventsQueue::ensureLoaded() {
    if (loaded_) return;
    loaded_ = true;
    auto loaded = store_->load();
    for (auto& note : loaded.notes) pendingLines_.push_back(std::move(note));
    if (loaded.problem) {
        fallBackToMemory(*loaded.problem);
        return;
    }
    // Rows that no longer open were left all the same: they count as
    // restored, then as dropped.
    drops_.unreadable += loaded.unreadable;
    uint64_t restored = loaded.unreadable;
    for (auto& row : loaded.rows) {
        nextId_ = std::max(nextId_, row.id + 1);
        auto event = decodeQueuedEvent(row.text);
        auto eventJSON = event ? compactJSON(event->event) : std::nullopt;
        auto record = eventJSON ? encodeQueuedRecord(event->type, event->idempotencyKey, event->createdAt, *eventJSON)
                                : std::nullopt;
        if (!record) {
            ++drops_.unreadable;
            ++restored;
            store_->stageErase(row.id);
            continue;
        }
        const uint64_t bytes = store_->storedSize(row.text.size());
        auto& entry = entries_[row.id];
        entry = Entry{std::move(record->text), static_cast<uint32_t>(record->eventOffset),
                      static_cast<uint32_t>(record->eventLength), event->createdAt, bytes, true};
        evictable_.insert(row.id);
        totalBytes_ += bytes;
        ++waiting_;
        waitingBytesSum_ += bytes;
        ++restored;
    }
    restored_ += restored;
    publish();
}

bool DataCollectorEventsQueue::makeRoom(uint64_t bytes, size_t& evicted) {
    auto over = [&] { return entries_.size() >= bounds_.count || totalBytes_ + bytes > bounds_.bytes; };
    while (over()) {
        const bool countBound = entries_.size() >= bounds_.count;
        if (evictable_.empty()) return false;
        erase(entries_.find(*evictable_.begin()));
        ++(countBound ? drops_.count : drops_.bytes);
        ++evicted;
    }
    return true;
}

void DataCollectorEventsQueue::erase(std::map<uint64_t, Entry>::iterator entry) {
    totalBytes_ -= entry->second.bytes;
    if (entry->second.waiting) {
        --waiting_;
        waitingBytesSum_ -= entry->second.bytes;
    }
    pinned_.erase(entry->first);
    evictable_.erase(entry->first);
    if (durable_) store_->stageErase(entry->first);
    entries_.erase(entry);
}

void DataCollectorEventsQueue::updateEvictable(uint64_t id, const Entry& entry) {
    if (evictable(id, entry)) {
        evictable_.insert(id);
    } else {
        evictable_.erase(id);
    }
}

void DataCollectorEventsQueue::publish() {
    waitingCount_.store(waiting_);
    waitingBytes_.store(waitingBytesSum_);
    droppedCount_.store(drops_.count);
    droppedBytes_.store(drops_.bytes);
    droppedAge_.store(drops_.age);
    droppedUnreadable_.store(drops_.unreadable);
}

void DataCollectorEventsQueue::fallBackToMemory(const std::string& problem) {
    if (!durable_) return;
    durable_ = false;
    pendingLines_.push_back("Outbox unavailable (" + problem + "); undelivered reports are kept in memory only");
}

void DataCollectorEventsQueue::writePendingLines() {
    std::vector<std::string> lines;
    {
        std::lock_guard lock(mutex_);
        lines.swap(pendingLines_);
    }
    if (!console_) return;
    for (const auto& line : lines) console_->log(line);
}

// ---- changes ----

DataCollectorEventsQueue::Kept DataCollectorEventsQueue::keep(QueuedEvent event, bool waiting) {
    auto eventJSON = compactJSON(event.event);
    if (!eventJSON) return Kept{.unencodable = true};
    return keep(event.type, event.idempotencyKey, event.createdAt, *eventJSON, waiting);
}

DataCollectorEventsQueue::Kept DataCollectorEventsQueue::keep(const DataCollectorAPI& type,
                                                              const std::string& idempotencyKey,
                                                              Clock::TimePoint createdAt, std::string_view eventJSON,
                                                              bool waiting) {
    auto record = encodeQueuedRecord(type, idempotencyKey, createdAt, eventJSON);
    if (!record) return Kept{.unencodable = true};
    return keepRecord(std::move(*record), createdAt, waiting);
}

DataCollectorEventsQueue::Kept DataCollectorEventsQueue::keepRecord(EncodedRecord record, Clock::TimePoint createdAt,
                                                                    bool waiting) {
    Kept kept;
    {
        std::lock_guard lock(mutex_);
        ensureLoaded();
        const uint64_t bytes = store_->storedSize(record.text.size());
        // A collector that stays unreachable must not grow memory or disk without end.
        if (makeRoom(bytes, kept.evicted)) {
            kept.id = nextId_++;
            if (durable_) store_->stagePut(kept.id, record.text);
            record.text.shrink_to_fit();
            auto& entry = entries_[kept.id];
            entry = Entry{std::move(record.text), static_cast<uint32_t>(record.eventOffset),
                          static_cast<uint32_t>(record.eventLength), createdAt, bytes, waiting};
            if (waiting) evictable_.insert(kept.id);
            totalBytes_ += bytes;
            if (waiting) {
                ++waiting_;
                waitingBytesSum_ += bytes;
            }
        }
        // A report the outbox has no room for is not counted here: its sender
        // counts it once it is known not to have been accepted.
        publish();
    }
    writePendingLines();
    return kept;
}

uint64_t DataCollectorEventsQueue::addEvent(QueuedEvent event, size_t* evicted) {
    auto kept = keep(std::move(event), true);
    if (evicted) *evicted = kept.evicted;
    return kept.id;
}

void DataCollectorEventsQueue::markQueued(uint64_t id) {
    std::lock_guard lock(mutex_);
    auto entry = entries_.find(id);
    if (entry == entries_.end() || entry->second.waiting) return;
    entry->second.waiting = true;
    updateEvictable(id, entry->second);
    ++waiting_;
    waitingBytesSum_ += entry->second.bytes;
    publish();
}

bool DataCollectorEventsQueue::removeEvent(const QueuedEvent& event) {
    std::lock_guard lock(mutex_);
    ensureLoaded();
    for (auto it = entries_.begin(); it != entries_.end(); ++it) {
        if (!it->second.waiting) continue;
        auto kept = decodeQueuedEvent(it->second.record);
        if (kept && kept->matches(event)) {
            erase(it);
            publish();
            return true;
        }
    }
    return false;
}

bool DataCollectorEventsQueue::removeEvent(uint64_t id) {
    std::lock_guard lock(mutex_);
    auto entry = entries_.find(id);
    if (entry == entries_.end()) return false;
    erase(entry);
    publish();
    return true;
}

size_t DataCollectorEventsQueue::dropExpired() {
    size_t dropped = 0;
    {
        std::lock_guard lock(mutex_);
        ensureLoaded();
        const auto oldestKept = clock_->now() - bounds_.age;
        for (auto it = entries_.begin(); it != entries_.end();) {
            auto next = std::next(it);
            if (evictable(it->first, it->second) && it->second.createdAt < oldestKept) {
                erase(it);
                ++drops_.age;
                ++dropped;
            }
            it = next;
        }
        publish();
    }
    return dropped;
}

bool DataCollectorEventsQueue::commit() {
    bool written = true;
    {
        std::lock_guard lock(mutex_);
        ensureLoaded();
        if (durable_) {
            if (auto problem = store_->commit().problem) {
                fallBackToMemory(*problem);
                written = false;
            }
        }
    }
    writePendingLines();
    return written;
}

void DataCollectorEventsQueue::stopBackgroundWork() {
    std::shared_ptr<void> thread;
    {
        std::lock_guard lock(mutex_);
        thread = store_->releaseBackgroundWork();
    }
    // Joined here, outside the lock: a checkpoint under way syncs to disk first.
    thread.reset();
}

void DataCollectorEventsQueue::reportDrops() {
    {
        std::lock_guard lock(mutex_);
        const Drops since{drops_.count - reported_.count, drops_.bytes - reported_.bytes, drops_.age - reported_.age,
                          drops_.unreadable - reported_.unreadable};
        reported_ = drops_;
        if (since.total() > 0) {
            pendingLines_.push_back("Undelivered reports dropped: " + std::to_string(since.count) +
                                    " over the count bound, " + std::to_string(since.bytes) +
                                    " over the size bound, " + std::to_string(since.age) + " too old, " +
                                    std::to_string(since.unreadable) + " unreadable");
        }
    }
    writePendingLines();
}

// ---- reading ----

std::vector<StoredEvent> DataCollectorEventsQueue::eventsQueueArray() const {
    std::lock_guard lock(mutex_);
    const_cast<DataCollectorEventsQueue*>(this)->ensureLoaded();
    std::vector<StoredEvent> waiting;
    for (const auto& [id, entry] : entries_) {
        if (!entry.waiting) continue;
        // Written by keep() from a decodable record: it reads back.
        if (auto event = decodeQueuedEvent(entry.record)) waiting.push_back(StoredEvent{id, std::move(*event)});
    }
    return waiting;
}

std::optional<std::string> DataCollectorEventsQueue::eventJSON(uint64_t id) const {
    std::lock_guard lock(mutex_);
    auto found = entries_.find(id);
    if (found == entries_.end()) return std::nullopt;
    const Entry& entry = found->second;
    return entry.record.substr(entry.eventOffset, entry.eventLength);
}

size_t DataCollectorEventsQueue::count() const {
    std::lock_guard lock(mutex_);
    const_cast<DataCollectorEventsQueue*>(this)->ensureLoaded();
    return waitingCount_.load();
}

bool DataCollectorEventsQueue::contains(uint64_t id) const {
    std::lock_guard lock(mutex_);
    return entries_.contains(id);
}

void DataCollectorEventsQueue::pin(uint64_t id) {
    std::lock_guard lock(mutex_);
    pinned_.insert(id);
    evictable_.erase(id);
}

void DataCollectorEventsQueue::unpin(uint64_t id) {
    std::lock_guard lock(mutex_);
    pinned_.erase(id);
    if (auto found = entries_.find(id); found != entries_.end()) updateEvictable(id, found->second);
}

DataCollectorEventsQueue::Drops DataCollectorEventsQueue::drops() const {
    return Drops{droppedCount_.load(), droppedBytes_.load(), droppedAge_.load(), droppedUnreadable_.load()};
}

bool DataCollectorEventsQueue::isDurable() const {
    std::lock_guard lock(mutex_);
    return durable_;
}

}  // namespace quarra
