#pragma once
// Where the queue's entries are kept beyond the process: the durable outbox,
// or nothing (the memory store). The queue keeps every entry in memory and
// stages each change here; commit() writes the staged changes at once.
// Called from one thread at a time (the queue's lock).
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "queue/QueuedEvent.hpp"

namespace quarra {

// Each kept event has an identifier that stays the same while it is kept;
// identifiers only grow.
struct StoredEvent {
    uint64_t id = 0;
    QueuedEvent event;
};

class EventStore {
public:
    struct Row {
        uint64_t id = 0;
        std::string text;  // the encoded event
    };
    struct Loaded {
        std::vector<Row> rows;       // oldest first
        uint64_t unreadable = 0;     // rows that could not be opened; already staged for removal
        std::optional<std::string> problem;  // the store could not be used: keep to memory from now on
        std::vector<std::string> notes;      // what the store did about damage, for the console
    };
    struct Committed {
        std::optional<std::string> problem;  // the write failed: keep to memory from now on
    };

    virtual ~EventStore() = default;
    // The entries an earlier process left. Called once, before anything else.
    virtual Loaded load() = 0;
    virtual void stagePut(uint64_t id, const std::string& text) = 0;
    virtual void stageErase(uint64_t id) = 0;
    virtual Committed commit() = 0;
    // How much a kept entry of `textBytes` takes in the store (its sealing included).
    virtual uint64_t storedSize(uint64_t textBytes) const = 0;
    // At shutdown: hands over the thread the store works on besides the
    // writer's, if it has one. Dropping what comes back ends and joins that
    // thread, so callers drop it outside their locks. Writes that still come
    // are done in full by the writer.
    virtual std::shared_ptr<void> releaseBackgroundWork() { return nullptr; }
};

// Keeps nothing beyond the process: every change is forgotten at once.
std::unique_ptr<EventStore> makeMemoryEventStore();

}  // namespace quarra
