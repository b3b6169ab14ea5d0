#include <algorithm>
#include <deque>

#include "queue/EventStore.hpp"

namespace quarra {
namespace {

// Identifiers only grow, so the deque stays sorted by them, oldest first.
class MemoryEventStore final : public EventStore {
public:
    uint64_t append(QueuedEvent event) override {
        const uint64_t id = nextId_++;
        events_.push_back(StoredEvent{id, std::move(event)});
        return id;
    }

    std::vector<StoredEvent> all() const override { return {events_.begin(), events_.end()}; }

    bool remove(uint64_t id) override {
        auto it = find(id);
        if (it == events_.end()) return false;
        events_.erase(it);
        return true;
    }

    bool contains(uint64_t id) const override { return find(id) != events_.end(); }

    std::optional<uint64_t> findFirst(const std::function<bool(const QueuedEvent&)>& predicate) const override {
        for (const auto& stored : events_) {
            if (predicate(stored.event)) return stored.id;
        }
        return std::nullopt;
    }

    size_t size() const override { return events_.size(); }

    std::optional<StoredEvent> popOldest(const std::function<bool(uint64_t id)>& keep) override {
        for (auto it = events_.begin(); it != events_.end(); ++it) {
            if (keep && keep(it->id)) continue;
            StoredEvent oldest = std::move(*it);
            events_.erase(it);
            return oldest;
        }
        return std::nullopt;
    }

private:
    using Events = std::deque<StoredEvent>;
    Events::const_iterator find(uint64_t id) const {
        auto it = std::lower_bound(events_.begin(), events_.end(), id,
                                   [](const StoredEvent& stored, uint64_t wanted) { return stored.id < wanted; });
        return it != events_.end() && it->id == id ? it : events_.end();
    }
    Events::iterator find(uint64_t id) {
        auto it = std::lower_bound(events_.begin(), events_.end(), id,
                                   [](const StoredEvent& stored, uint64_t wanted) { return stored.id < wanted; });
        return it != events_.end() && it->id == id ? it : events_.end();
    }

    std::deque<StoredEvent> events_;
    uint64_t nextId_ = 1;
};

}  // namespace

std::unique_ptr<EventStore> makeMemoryEventStore() { return std::make_unique<MemoryEventStore>(); }

}  // namespace quarra
