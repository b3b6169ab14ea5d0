#pragma once
// The reports kept for sending again (waiting, oldest first) and the reports
// on their first way out (written ahead of the send, so that a crash loses
// none). Every entry lives in memory; the store keeps them beyond the process
// (the durable outbox) once commit() has written them.
//
// Bounded by count, stored bytes and age: the oldest waiting entries go first,
// never one that is pinned (being resent) or on its first way out. Safe from
// any thread; the library changes it on its worker only. Console lines are
// written with no lock held.
#include <atomic>
#include <chrono>
#include <cstddef>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include <quarra/Clock.hpp>

#include "base/Limits.hpp"
#include "queue/EventStore.hpp"

namespace quarra {

class Console;

// What the queue keeps at most.
struct QueueBounds {
    size_t count = limits::kMaxQueuedEvents;
    uint64_t bytes = limits::kMaxQueuedBytes;
    std::chrono::milliseconds age = limits::kMaxQueuedAge;
};

class DataCollectorEventsQueue {
public:
    using Bounds = QueueBounds;
    // Entries given up, by reason.
    struct Drops {
        uint64_t count = 0;       // over the count bound
        uint64_t bytes = 0;       // over the size bound
        uint64_t age = 0;         // older than the age bound
        uint64_t unreadable = 0;  // kept by an earlier process, but they no longer open or decode
        uint64_t total() const { return count + bytes + age + unreadable; }
    };
    // What keeping one more entry came to.
    struct Kept {
        uint64_t id = 0;            // 0: not kept
        size_t evicted = 0;         // older entries that made room
        bool unencodable = false;   // not kept: the dictionary cannot be written as JSON
    };

    // The process-wide queue the library built.
    static DataCollectorEventsQueue& shared();
    // `console` (may be null) hears about drops and a store that fails.
    explicit DataCollectorEventsQueue(std::unique_ptr<EventStore> store = makeMemoryEventStore(),
                                      const Console* console = nullptr, std::shared_ptr<Clock> clock = nullptr,
                                      QueueBounds bounds = {});

    bool shouldShowLogs = false;  // kept for hosts that set it; never read

    // A report that waits for a resend, at the end. Returns its identifier,
    // or 0 when it could not be kept; `evicted` (when given) gets how many
    // older ones made room.
    uint64_t addEvent(QueuedEvent event, size_t* evicted = nullptr);
    Kept keep(QueuedEvent event, bool waiting);
    // The same for a report whose dictionary is already compact JSON: the
    // outbox record is put together around that text, not written again.
    Kept keep(const DataCollectorAPI& type, const std::string& idempotencyKey, Clock::TimePoint createdAt,
              std::string_view eventJSON, bool waiting);
    // A report about to be sent for the first time: kept, but not waiting.
    Kept recordInFlight(QueuedEvent event) { return keep(std::move(event), false); }
    // Its first send failed: it waits for a resend now.
    void markQueued(uint64_t id);
    // Removes the first (oldest) waiting entry that matches `event`.
    bool removeEvent(const QueuedEvent& event);
    // Removes the entry with this identifier, if it is still there.
    bool removeEvent(uint64_t id);

    std::vector<StoredEvent> eventsQueueArray() const;  // the waiting entries, oldest first
    // The entry's dictionary as compact JSON; nullopt once it has gone.
    std::optional<std::string> eventJSON(uint64_t id) const;
    size_t count() const;                               // waiting entries
    bool isEmpty() const { return count() == 0; }
    bool contains(uint64_t id) const;

    // An entry being resent: the bounds do not push it out.
    void pin(uint64_t id);
    void unpin(uint64_t id);

    // Drops the waiting entries older than the age bound; how many went.
    size_t dropExpired();
    // Writes every change since the last commit, at once. False when the
    // store failed; the queue then keeps to memory (one console line says so).
    bool commit();
    // At shutdown: ends the store's own thread, if it has one.
    void stopBackgroundWork();
    // One console line for the entries dropped since the last call, by reason
    // (nothing when none were).
    void reportDrops();

    // For the health snapshot: read without touching the store. Any thread.
    uint64_t waitingCount() const { return waitingCount_.load(); }
    uint64_t waitingBytes() const { return waitingBytes_.load(); }
    Drops drops() const;  // never waits for the lock
    uint64_t restored() const { return restored_.load(); }  // entries an earlier process left
    bool isDurable() const;

private:
    // An entry keeps its record as text (what the store holds), not as a
    // dictionary: a few hundred bytes instead of a tree of allocations.
    struct Entry {
        std::string record;
        uint32_t eventOffset = 0;  // where the dictionary's text sits in `record`
        uint32_t eventLength = 0;
        Clock::TimePoint createdAt{};
        uint64_t bytes = 0;
        bool waiting = false;
    };
    Kept keepRecord(EncodedRecord record, Clock::TimePoint createdAt, bool waiting);
    // Entries the bounds may push out: waiting and not pinned (mutex_ held).
    bool evictable(uint64_t id, const Entry& entry) const { return entry.waiting && !pinned_.contains(id); }
    void updateEvictable(uint64_t id, const Entry& entry);

    // Loads what an earlier process left, once (mutex_ held).
    void ensureLoaded();
    // Makes room for `bytes` more; false when the oldest entries cannot go.
    bool makeRoom(uint64_t bytes, size_t& evicted);
    void erase(std::map<uint64_t, Entry>::iterator entry);
    void publish();  // the counts others read without the lock
    void fallBackToMemory(const std::string& problem);
    // Console lines made under the lock, written once it is let go.
    void writePendingLines();

    mutable std::mutex mutex_;  // guards everything below but the atomics
    std::unique_ptr<EventStore> store_;
    const Console* console_;
    std::shared_ptr<Clock> clock_;
    const Bounds bounds_;
    std::map<uint64_t, Entry> entries_;  // by identifier: oldest first
    std::set<uint64_t> pinned_;
    std::set<uint64_t> evictable_;  // oldest first, so a bound finds its victim at once
    uint64_t nextId_ = 1;
    uint64_t totalBytes_ = 0;
    uint64_t waiting_ = 0;          // waiting entries
    uint64_t waitingBytesSum_ = 0;  // and what they take
    bool loaded_ = false;
    bool durable_ = true;
    Drops drops_;
    Drops reported_;
    std::vector<std::string> pendingLines_;

    std::atomic<uint64_t> waitingCount_{0};
    std::atomic<uint64_t> waitingBytes_{0};
    // drops_ as last published: the health snapshot must not wait for a
    // write to the store, which holds the lock.
    std::atomic<uint64_t> droppedCount_{0}, droppedBytes_{0}, droppedAge_{0}, droppedUnreadable_{0};
    std::atomic<uint64_t> restored_{0};
};

}  // namespace quarra
