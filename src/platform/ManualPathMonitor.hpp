#pragma once
// A path monitor whose answer a test (or the command-line host) sets by hand.
#include <atomic>
#include <memory>

#include "platform/PathAnswerRelay.hpp"
#include "platform/PathMonitor.hpp"

namespace quarra {

class ManualPathMonitor final : public PathMonitor {
public:
    explicit ManualPathMonitor(std::shared_ptr<Executor> queue, bool satisfied = true);
    ~ManualPathMonitor() override;

    void start(Handler handler) override;
    void cancel() override;

    // Changes the answer; a started monitor reports it when it differs.
    void setSatisfied(bool satisfied);
    bool satisfied() const { return satisfied_.load(); }
    bool isStarted() const { return started_.load(); }

private:
    PathAnswerRelay relay_;
    std::atomic<bool> satisfied_;
    std::atomic<bool> started_{false};
};

}  // namespace quarra
