#include <quarra/testing/ManualPathMonitor.hpp>

#include "platform/PathAnswerRelay.hpp"

namespace quarra {

ManualPathMonitor::ManualPathMonitor(std::shared_ptr<Executor> queue, bool satisfied)
    : relay_(std::make_unique<PathAnswerRelay>(std::move(queue))), satisfied_(satisfied) {}

ManualPathMonitor::~ManualPathMonitor() { relay_->reset(); }

void ManualPathMonitor::start(Handler handler) {
    relay_->install(std::move(handler));
    started_.store(true);
    relay_->publish(satisfied_.load());
}

void ManualPathMonitor::cancel() {
    started_.store(false);
    relay_->reset();
}

void ManualPathMonitor::setSatisfied(bool satisfied) {
    satisfied_.store(satisfied);
    if (started_.load()) relay_->publish(satisfied);
}

void ManualPathMonitor::announceChange() {
    if (started_.load()) relay_->announce();
}

}  // namespace quarra
