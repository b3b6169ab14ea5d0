#include "queue/DataCollectorEventsQueue.hpp"

#include "base/ConsoleLog.hpp"

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
        if (!event) {
            ++drops_.unreadable;
            ++restored;
            store_->stageErase(row.id);
            continue;
        }
        const uint64_t bytes = store_->storedSize(row.text.size());
        entries_.emplace(row.id, Entry{std::move(*event), true, bytes});
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
        auto oldest = entries_.begin();
        while (oldest != entries_.end() && (!oldest->second.waiting || pinned_.contains(oldest->first))) ++oldest;
        if (oldest == entries_.end()) return false;
        erase(oldest);
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
    if (durable_) store_->stageErase(entry->first);
    entries_.erase(entry);
}

void DataCollectorEventsQueue::publish() {
    waitingCount_.store(waiting_);
    waitingBytes_.store(waitingBytesSum_);
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
    Kept kept;
    {
        std::lock_guard lock(mutex_);
        ensureLoaded();
        auto text = encodeQueuedEvent(event);
        if (!text) {
            kept.unencodable = true;
        } else {
            const uint64_t bytes = store_->storedSize(text->size());
            // A collector that stays unreachable must not grow memory or disk without end.
            if (makeRoom(bytes, kept.evicted)) {
                kept.id = nextId_++;
                if (durable_) store_->stagePut(kept.id, *text);
                entries_.emplace(kept.id, Entry{std::move(event), waiting, bytes});
                totalBytes_ += bytes;
                if (waiting) {
                    ++waiting_;
                    waitingBytesSum_ += bytes;
                }
            } else {
                ++drops_.count;
            }
            publish();
        }
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
    ++waiting_;
    waitingBytesSum_ += entry->second.bytes;
    publish();
}

bool DataCollectorEventsQueue::removeEvent(const QueuedEvent& event) {
    std::lock_guard lock(mutex_);
    ensureLoaded();
    for (auto it = entries_.begin(); it != entries_.end(); ++it) {
        if (it->second.waiting && it->second.event.matches(event)) {
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
            if (it->second.waiting && !pinned_.contains(it->first) && it->second.event.createdAt < oldestKept) {
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
        if (entry.waiting) waiting.push_back(StoredEvent{id, entry.event});
    }
    return waiting;
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
}

void DataCollectorEventsQueue::unpin(uint64_t id) {
    std::lock_guard lock(mutex_);
    pinned_.erase(id);
}

DataCollectorEventsQueue::Drops DataCollectorEventsQueue::drops() const {
    std::lock_guard lock(mutex_);
    return drops_;
}

bool DataCollectorEventsQueue::isDurable() const {
    std::lock_guard lock(mutex_);
    return durable_;
}

}  // namespace quarra
