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
        auto it = std::lower_bound(events_.begin(), events_.end(), id,
                                   [](const StoredEvent& stored, uint64_t wanted) { return stored.id < wanted; });
        if (it == events_.end() || it->id != id) return false;
        events_.erase(it);
        return true;
    }

    std::optional<uint64_t> findFirst(const std::function<bool(const QueuedEvent&)>& predicate) const override {
        for (const auto& stored : events_) {
            if (predicate(stored.event)) return stored.id;
        }
        return std::nullopt;
    }

    size_t size() const override { return events_.size(); }

    std::optional<StoredEvent> popOldest() override {
        if (events_.empty()) return std::nullopt;
        StoredEvent oldest = std::move(events_.front());
        events_.pop_front();
        return oldest;
    }

private:
    std::deque<StoredEvent> events_;
    uint64_t nextId_ = 1;
};

}  // namespace

std::unique_ptr<EventStore> makeMemoryEventStore() { return std::make_unique<MemoryEventStore>(); }

}  // namespace quarra
