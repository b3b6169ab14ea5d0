#include "platform/PathAnswerRelay.hpp"

namespace quarra {

PathAnswerRelay::PathAnswerRelay(std::shared_ptr<Executor> queue) : queue_(std::move(queue)) {}

void PathAnswerRelay::install(PathMonitor::Handler handler) {
    std::optional<bool> current;
    unsigned long long generation = 0;
    {
        std::lock_guard lock(state_->mutex);
        state_->handler = handler;
        generation = ++state_->generation;
        current = state_->answer;
    }
    if (current) post(std::move(handler), *current, generation);
}

void PathAnswerRelay::publish(bool satisfied) {
    PathMonitor::Handler handler;
    unsigned long long generation = 0;
    {
        std::lock_guard lock(state_->mutex);
        state_->path.reset();
        if (state_->answer == satisfied) return;
        state_->answer = satisfied;
        handler = state_->handler;
        generation = state_->generation;
    }
    post(std::move(handler), satisfied, generation);
}

void PathAnswerRelay::publish(const PathSignature& path) {
    PathMonitor::Handler handler;
    unsigned long long generation = 0;
    {
        std::lock_guard lock(state_->mutex);
        if (state_->path == path) return;
        state_->path = path;
        state_->answer = path.satisfied;
        handler = state_->handler;
        generation = state_->generation;
    }
    post(std::move(handler), path.satisfied, generation);
}

void PathAnswerRelay::announce() {
    PathMonitor::Handler handler;
    bool satisfied = false;
    unsigned long long generation = 0;
    {
        std::lock_guard lock(state_->mutex);
        if (!state_->answer) return;
        satisfied = *state_->answer;
        handler = state_->handler;
        generation = state_->generation;
    }
    post(std::move(handler), satisfied, generation);
}

void PathAnswerRelay::reset() {
    std::lock_guard lock(state_->mutex);
    state_->handler = nullptr;
    state_->answer.reset();
    state_->path.reset();
    ++state_->generation;
}

void PathAnswerRelay::post(PathMonitor::Handler handler, bool satisfied, unsigned long long generation) {
    if (!handler) return;
    auto call = [state = state_, handler = std::move(handler), satisfied, generation] {
        {
            std::lock_guard lock(state->mutex);
            if (state->generation != generation) return;
        }
        handler(satisfied);
    };
    if (queue_) {
        queue_->post(std::move(call));
    } else {
        call();
    }
}

}  // namespace quarra
