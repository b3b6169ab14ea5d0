#pragma once
// A report sender that passes every report on to the library and tells the
// scenario thread how it ended: how many reports a step's controls handed
// over, and the Boolean of each completion as it arrives.
#include <atomic>
#include <cstdint>
#include <memory>

#include <quarra/tracking/ReportSender.hpp>

#include "Mailbox.hpp"

namespace quarra::cli {

class ReportProbe final : public ReportSender {
public:
    // Called on the library's worker.
    void sendUserEvents(JSONDictionary data, BoolCompletion completion = {}) override;
    void sendActivityStream(JSONDictionary data, BoolCompletion completion = {}) override;
    void sendAccelerometerData(JSONDictionary data, BoolCompletion completion = {}) override;

    // Reports handed to the sender so far.
    int64_t handedOver() const { return handedOver_.load(); }
    // Every completion's Boolean, in the order they were called.
    const Mailbox<bool>& results() const { return *results_; }

private:
    // The control's completion, which also posts its Boolean here first.
    BoolCompletion relay(BoolCompletion completion);

    std::atomic<int64_t> handedOver_{0};
    // Shared with the completions, which may outlive the probe.
    std::shared_ptr<Mailbox<bool>> results_ = std::make_shared<Mailbox<bool>>();
};

}  // namespace quarra::cli
