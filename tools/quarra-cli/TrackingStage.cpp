#include "TrackingStage.hpp"

#include <algorithm>

#include <quarra/DataCollectorService.hpp>

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

TrackingStage::TrackingStage(std::shared_ptr<Executor> mainQueue)
    : mainQueue_(std::move(mainQueue)),
      probe_(std::make_shared<ReportProbe>()),
      context_(makeTrackingContext(probe_)) {}

void TrackingStage::onMain(std::function<void()> task) const { mainQueue_->post(std::move(task)); }

void TrackingStage::onMainAfter(Milliseconds delay, std::function<void()> task) const {
    mainQueue_->postAfter(delay, std::move(task));
}

StepOutcome TrackingStage::finish(Milliseconds timeout) const {
    const auto deadline = SteadyClock::now() + timeout;
    // The main queue first: its tasks are what hand reports to the library;
    // then the library's worker, which passes them through the probe.
    if (!settle(*mainQueue_, deadline) || !DataCollectorService::defaultService().flush(left(deadline))) {
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
