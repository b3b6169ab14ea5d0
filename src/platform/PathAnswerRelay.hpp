#pragma once
// Hands a path monitor's answers to its handler on the monitor's queue (or,
// without a queue, on the publishing thread): the current answer to a newly
// installed handler, then each change once. Safe to call from any thread; the
// handler never runs under a lock.
#include <memory>
#include <mutex>
#include <optional>

#include <quarra/Executor.hpp>
#include <quarra/PathMonitor.hpp>

#include "platform/PathSignature.hpp"

namespace quarra {

class PathAnswerRelay {
public:
    explicit PathAnswerRelay(std::shared_ptr<Executor> queue);

    // Installs `handler` in place of any earlier one (whose queued calls are
    // dropped); it gets the current answer at once when there is one.
    void install(PathMonitor::Handler handler);
    // Records the answer; the handler gets it when it differs from the last.
    // A bare answer says nothing about the path, so it forgets the last one.
    void publish(bool satisfied);
    // Records the path; the handler gets its answer when the path differs
    // from the last one, even when the answer itself is unchanged.
    void publish(const PathSignature& path);
    // The path changed in a way only the caller can see: the handler gets
    // the current answer again, when there is one.
    void announce();
    // Forgets the handler, the answer and the path; queued calls are dropped.
    void reset();

private:
    struct State {
        std::mutex mutex;  // guards everything below
        PathMonitor::Handler handler;
        std::optional<bool> answer;
        std::optional<PathSignature> path;
        unsigned long long generation = 0;
    };
    // Posts one handler call that runs only while `generation` is current.
    void post(PathMonitor::Handler handler, bool satisfied, unsigned long long generation);

    std::shared_ptr<Executor> queue_;
    std::shared_ptr<State> state_ = std::make_shared<State>();
};

}  // namespace quarra
