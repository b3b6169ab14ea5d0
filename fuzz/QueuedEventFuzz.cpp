// Any bytes as an outbox row: decoding must never crash or throw; a row that
// decodes is a report and is written back as a row that decodes to the same
// event (and to the same text again); and the queue, loading the row as an
// earlier process left it, keeps it exactly when it decodes and lets it go
// once it is older than the age bound.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include <quarra/testing/FakeClock.hpp>

#include "base/Limits.hpp"
#include "queue/DataCollectorEventsQueue.hpp"
#include "queue/EventStore.hpp"
#include "queue/QueuedEvent.hpp"

namespace {

// A store that an earlier process left one row in.
class OneRowStore final : public quarra::EventStore {
public:
    explicit OneRowStore(std::string text) : text_(std::move(text)) {}
    Loaded load() override {
        Loaded loaded;
        loaded.rows.push_back(Row{7, text_});
        return loaded;
    }
    void stagePut(uint64_t, const std::string&) override {}
    void stageErase(uint64_t) override {}
    Committed commit() override { return {}; }
    uint64_t storedSize(uint64_t textBytes) const override { return textBytes; }

private:
    std::string text_;
};

bool sameEvent(const quarra::QueuedEvent& a, const quarra::QueuedEvent& b) {
    return a.type == b.type && a.event == b.event && a.idempotencyKey == b.idempotencyKey && a.createdAt == b.createdAt;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace quarra;
    const std::string text(reinterpret_cast<const char*>(data), size);

    auto event = decodeQueuedEvent(text);
    if (event) {
        if (!event->type.isReport()) __builtin_trap();
        (void)event->matches(*event);
        if (auto written = encodeQueuedEvent(*event)) {
            auto again = decodeQueuedEvent(*written);
            if (!again || !sameEvent(*again, *event)) __builtin_trap();
            if (encodeQueuedEvent(*again) != written) __builtin_trap();
        }
    }

    auto clock = std::make_shared<FakeClock>();
    DataCollectorEventsQueue queue(std::make_unique<OneRowStore>(text), nullptr, clock);
    const auto waiting = queue.eventsQueueArray();
    if (waiting.size() != (event ? 1u : 0u) || queue.drops().unreadable != (event ? 0u : 1u)) __builtin_trap();
    if (event && (waiting[0].id != 7 || !sameEvent(waiting[0].event, *event))) __builtin_trap();
    const bool expired = event && event->createdAt < clock->now() - limits::kMaxQueuedAge;
    if (queue.dropExpired() != (expired ? 1u : 0u)) __builtin_trap();
    return 0;
}
