#pragma once
// Where a tracking step plays: a tracking context like the library's shared
// one whose reports pass through a ReportProbe to the library, the host's
// main queue the controls live on, and the step's ending (let the queues
// settle, then the first completion's Boolean, or null when nothing was sent).
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <quarra/Executor.hpp>
#include <quarra/tracking/TrackingContextRef.hpp>

#include "ReportProbe.hpp"
#include "StepRunner.hpp"

namespace quarra::cli {

class TrackingStage {
public:
    // Call only after quarra::configure(); `mainQueue` is the main executor
    // the library was configured with.
    explicit TrackingStage(std::shared_ptr<Executor> mainQueue);

    const std::shared_ptr<const TrackingContext>& context() const { return context_; }
    // Controls are made, used and destroyed only in tasks posted here.
    void onMain(std::function<void()> task) const;
    void onMainAfter(Milliseconds delay, std::function<void()> task) const;

    // Once every task posted so far to the main queue has run and the library
    // has answered what they handed over: null when no report was handed
    // over, else the first completion's Boolean, waiting at most `timeout` in all.
    StepOutcome finish(Milliseconds timeout) const;

private:
    std::shared_ptr<Executor> mainQueue_;
    std::shared_ptr<ReportProbe> probe_;
    std::shared_ptr<const TrackingContext> context_;
};

// The text split into its UTF-8 characters (code points), each keeping its
// bytes; what a user types one key at a time.
std::vector<std::string> utf8Characters(const std::string& text);

}  // namespace quarra::cli
