#include "queue/EventStore.hpp"

namespace quarra {
namespace {

class MemoryEventStore final : public EventStore {
public:
    Loaded load() override { return {}; }
    void stagePut(uint64_t, const std::string&) override {}
    void stageErase(uint64_t) override {}
    Committed commit() override { return {}; }
    uint64_t storedSize(uint64_t textBytes) const override { return textBytes; }
};

}  // namespace

std::unique_ptr<EventStore> makeMemoryEventStore() { return std::make_unique<MemoryEventStore>(); }

}  // namespace quarra
