#pragma once
// A path monitor whose answer a test (or a scripted host) sets by hand.
//
// The handler runs on `queue`; without one it runs on the thread that calls
// start(), setSatisfied() or announceChange(), before that call returns.
// Safe from any thread.
#include <atomic>
#include <memory>

#include <quarra/Executor.hpp>
#include <quarra/PathMonitor.hpp>

namespace quarra {

class PathAnswerRelay;

class ManualPathMonitor final : public PathMonitor {
public:
    explicit ManualPathMonitor(std::shared_ptr<Executor> queue = nullptr, bool satisfied = true);
    ~ManualPathMonitor() override;

    void start(Handler handler) override;
    void cancel() override;

    // Changes the answer; a started monitor reports it when it differs.
    void setSatisfied(bool satisfied);
    // Reports a change of the path that leaves the answer as it is (another
    // interface, a new address): a started monitor calls its handler once
    // with the current answer. Does nothing before start() or after cancel().
    void announceChange();
    bool satisfied() const { return satisfied_.load(); }
    bool isStarted() const { return started_.load(); }

private:
    std::unique_ptr<PathAnswerRelay> relay_;
    std::atomic<bool> satisfied_;
    std::atomic<bool> started_{false};
};

}  // namespace quarra
