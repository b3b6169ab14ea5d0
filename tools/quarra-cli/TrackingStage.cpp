#include "TrackingStage.hpp"

#include <algorithm>

#include "Mailbox.hpp"

namespace quarra::cli {
namespace {

using SteadyClock = std::chrono::steady_clock;

Milliseconds left(SteadyClock::time_point deadline) {
    auto remaining = std::chrono::duration_cast<Milliseconds>(deadline - SteadyClock::now());
    return std::max(remaining, Milliseconds(0));
}

// True once a marker posted now has run, i.e. everything posted before it.
bool settle(Executor& executor, SteadyClock::time_point deadline) {
    auto passed = std::make_shared<Mailbox<bool>>();
    executor.post([passed] { passed->post(true); });
    return passed->waitFor(0, left(deadline)).has_value();
}

}  // namespace

TrackingStage::TrackingStage() {
    auto shared = sharedTrackingContext();
    probe_ = std::make_shared<ReportProbe>(shared->reports);
    auto context = std::make_shared<TrackingContext>(*shared);
    context->reports = probe_;
    context_ = std::move(context);
}

void TrackingStage::onMain(std::function<void()> task) const { context_->mainExecutor->post(std::move(task)); }

void TrackingStage::onMainAfter(Milliseconds delay, std::function<void()> task) const {
    context_->mainExecutor->postAfter(delay, std::move(task));
}

StepOutcome TrackingStage::finish(Milliseconds timeout) const {
    const auto deadline = SteadyClock::now() + timeout;
    // The main queue first: its tasks are what hand reports to the report queue.
    if (!settle(*context_->mainExecutor, deadline) || !settle(*context_->reportExecutor, deadline)) {
        return StepOutcome{nullptr, true};
    }
    if (probe_->handedOver() == 0) return StepOutcome{nullptr, false};
    auto delivered = probe_->results().waitFor(0, left(deadline));
    if (!delivered) return StepOutcome{nullptr, true};
    return StepOutcome{*delivered, false};
}

std::vector<std::string> utf8Characters(const std::string& text) {
    std::vector<std::string> characters;
    for (char byte : text) {
        // A continuation byte (10xxxxxx) belongs to the character before it.
        bool continues = (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
        if (continues && !characters.empty()) {
            characters.back().push_back(byte);
        } else {
            characters.emplace_back(1, byte);
        }
    }
    return characters;
}

}  // namespace quarra::cli
