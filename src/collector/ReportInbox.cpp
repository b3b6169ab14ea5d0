#include "collector/ReportInbox.hpp"

#include <algorithm>
#include <utility>

#include "base/JsonText.hpp"

namespace quarra {

std::shared_ptr<ReportInbox> ReportInbox::create(std::shared_ptr<Executor> worker,
                                                 std::weak_ptr<CollectionService> collector) {
    auto inbox = std::shared_ptr<ReportInbox>(new ReportInbox(std::move(worker), collector));
    if (auto service = collector.lock()) {
        service->setRoomListener([weak = std::weak_ptr<ReportInbox>(inbox)] {
            if (auto self = weak.lock()) self->roomMade();
        });
    }
    return inbox;
}

ReportInbox::ReportInbox(std::shared_ptr<Executor> worker, std::weak_ptr<CollectionService> collector)
    : worker_(std::move(worker)), collector_(std::move(collector)) {}

void ReportInbox::handIn(Case reportCase, JSONDictionary data, BoolCompletion completion) {
    Item item{reportCase, std::move(data), std::move(completion)};
    size_t waitingNow = 0;
    {
        std::lock_guard lock(mutex_);
        waitingNow = items_.size();
    }
    if (waitingNow >= kCompactAbove) {
        // One that cannot be written as JSON stays a dictionary: the
        // collector says so and drops it, as it would have anyway.
        if (auto text = compactJSON(std::get<JSONDictionary>(item.body))) item.body = std::move(*text);
    }
    bool post = false;
    {
        std::lock_guard lock(mutex_);
        items_.push_back(std::move(item));
        post = !std::exchange(drainPosted_, true);
    }
    if (post) postDrain();
}

size_t ReportInbox::waiting() const {
    std::lock_guard lock(mutex_);
    return items_.size();
}

void ReportInbox::postDrain() {
    if (!worker_) return drain(SIZE_MAX);
    worker_->post([weak = weak_from_this()] {
        if (auto self = weak.lock()) self->drain(kBatch);
    });
}

void ReportInbox::drainAll() { drain(SIZE_MAX); }

void ReportInbox::roomMade() {
    if (!std::exchange(waitingForRoom_, false)) return;
    drain(kBatch);
}

void ReportInbox::drain(size_t most) {
    auto collector = collector_.lock();
    if (!collector) return;  // the engine is being taken down
    const bool all = most == SIZE_MAX;
    // A flush takes everything; otherwise only what the collector has room for.
    const size_t room = all ? most : std::min(most, collector->freshRoom());
    std::deque<Item> taken;
    bool more = false;
    {
        std::lock_guard lock(mutex_);
        const size_t count = std::min(room, items_.size());
        auto end = items_.begin() + static_cast<std::ptrdiff_t>(count);
        taken.assign(std::make_move_iterator(items_.begin()), std::make_move_iterator(end));
        items_.erase(items_.begin(), end);
        more = !items_.empty();
        if (!more && !all) drainPosted_ = false;
    }
    if (more && !all) {
        if (room == most) {
            // The rest go in a later task, after what the worker has queued
            // meanwhile (outbox writes, answers).
            postDrain();
        } else {
            waitingForRoom_ = true;  // roomMade() carries on
        }
    }
    for (auto& item : taken) deliver(*collector, item);
}

void ReportInbox::deliver(CollectionService& collector, Item& item) {
    if (auto* text = std::get_if<std::string>(&item.body)) {
        return collector.sendEncodedReport(item.reportCase, std::move(*text), std::move(item.completion));
    }
    collector.sendReport(item.reportCase, std::move(std::get<JSONDictionary>(item.body)), std::move(item.completion));
}

}  // namespace quarra
