#pragma once
// Reports the host hands in, on their way to the worker. The host's thread
// appends to a list and posts one task for a whole batch, so a burst of
// reports costs a lock and an append each, not a task each. The worker takes
// them in as the collector has room (a few windows of sends), so a burst
// waits here, in the order handed in, and nowhere else. While many wait,
// each is written as compact JSON on the way in: a few hundred bytes instead
// of a dictionary's tree of allocations, so a burst does not grow memory by
// kilobytes per report before the worker reaches it.
#include <cstddef>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <variant>

#include <quarra/Executor.hpp>
#include <quarra/Json.hpp>

#include "collector/CollectionService.hpp"

namespace quarra {

class ReportInbox : public std::enable_shared_from_this<ReportInbox> {
public:
    using BoolCompletion = ReportSender::BoolCompletion;
    using Case = DataCollectorAPI::Case;

    // Waiting reports above which new ones are written as JSON on the way in.
    static constexpr size_t kCompactAbove = 512;
    // Reports one worker task takes before it lets the worker's other tasks
    // (outbox writes, answers) run.
    static constexpr size_t kBatch = 256;

    static std::shared_ptr<ReportInbox> create(std::shared_ptr<Executor> worker,
                                               std::weak_ptr<CollectionService> collector);

    // Any thread; never blocks on the worker. The report reaches the
    // collector on the worker, in the order handed in.
    void handIn(Case reportCase, JSONDictionary data, BoolCompletion completion);
    // On the worker: hands every waiting report on now (a flush must find
    // all that was handed in before it).
    void drainAll();
    // On the worker: the collector has room again (see CollectionService::freshRoom()).
    void roomMade();
    // Reports waiting for the worker.
    size_t waiting() const;

private:
    ReportInbox(std::shared_ptr<Executor> worker, std::weak_ptr<CollectionService> collector);
    struct Item {
        Case reportCase;
        std::variant<JSONDictionary, std::string> body;  // the string: compact JSON of the dictionary
        BoolCompletion completion;
    };
    // Takes up to `most` waiting reports and hands them on, on the worker.
    void drain(size_t most);
    void postDrain();
    static void deliver(CollectionService& collector, Item& item);

    const std::shared_ptr<Executor> worker_;
    const std::weak_ptr<CollectionService> collector_;
    mutable std::mutex mutex_;  // guards the two below
    std::deque<Item> items_;
    bool drainPosted_ = false;  // a drain task is on the worker's queue, or waits for room
    bool waitingForRoom_ = false;  // worker only
};

}  // namespace quarra
