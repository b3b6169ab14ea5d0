#pragma once
// Where a tracking step plays: a tracking context like the library's shared
// one whose reports pass through a ReportProbe, the main queue the controls
// live on, and the step's ending (let the queues settle, then the first
// completion's Boolean, or null when nothing was sent).
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ReportProbe.hpp"
#include "StepRunner.hpp"
#include "tracking/TrackingContext.hpp"

namespace quarra::cli {

class TrackingStage {
public:
    // Call only after quarra::configure().
    TrackingStage();

    const std::shared_ptr<const TrackingContext>& context() const { return context_; }
    // Controls are made, used and destroyed only in tasks posted here.
    void onMain(std::function<void()> task) const;
    void onMainAfter(Milliseconds delay, std::function<void()> task) const;

    // Once every task posted so far to the main queue and then to the report
    // queue has run: null when no report was handed over, else the first
    // completion's Boolean, waiting at most `timeout` in all.
    StepOutcome finish(Milliseconds timeout) const;

private:
    std::shared_ptr<ReportProbe> probe_;
    std::shared_ptr<const TrackingContext> context_;
};

// The text split into its UTF-8 characters (code points), each keeping its
// bytes; what a user types one key at a time.
std::vector<std::string> utf8Characters(const std::string& text);

}  // namespace quarra::cli
