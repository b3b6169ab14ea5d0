#include "tracking/HandOffLine.hpp"

namespace quarra {

void sendHandOff(HandOff& handOff, ReportSender& reports) {
    std::visit(
        [&reports](auto& work) {
            if constexpr (std::is_same_v<std::decay_t<decltype(work)>, SenderWork>) {
                if (work) work(reports);
            } else {
                work.send(reports);
            }
        },
        handOff);
}

HandOffLine::HandOffLine() {
    // Room for a burst of taps, so that a user action never waits for a resize.
    constexpr size_t kUsualBatch = 32;
    waiting_.reserve(kUsualBatch);
    draining_.reserve(kUsualBatch);
}

bool HandOffLine::push(HandOff handOff) {
    std::lock_guard lock(mutex_);
    waiting_.push_back(std::move(handOff));
    return waiting_.size() == 1;
}

void HandOffLine::drain(ReportSender& reports) {
    {
        std::lock_guard lock(mutex_);
        // The host keeps pushing into the storage this drain used last time.
        waiting_.swap(draining_);
    }
    for (auto& handOff : draining_) {
        try {
            sendHandOff(handOff, reports);
        } catch (...) {
            // One failing report must not cost the others of the batch.
        }
    }
    draining_.clear();
}

}  // namespace quarra
