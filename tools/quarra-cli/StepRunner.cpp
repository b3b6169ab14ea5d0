#include "StepRunner.hpp"

#include <algorithm>
#include <thread>

#include <quarra/DataCollectorService.hpp>
#include <quarra/QuarraManager.hpp>

#include <quarra/testing/ManualPathMonitor.hpp>

#include "Commands.hpp"
#include "Drain.hpp"
#include "HealthJson.hpp"
#include "ScriptedAccelerometer.hpp"

namespace quarra::cli {
namespace {

DataCollectorService& service() { return DataCollectorService::defaultService(); }

}  // namespace

StepRunner::StepRunner(const Scenario& scenario, std::shared_ptr<Executor> mainQueue,
                       std::shared_ptr<ManualPathMonitor> monitor, std::shared_ptr<ScriptedAccelerometer> accelerometer)
    : scenario_(scenario),
      mainQueue_(std::move(mainQueue)),
      monitor_(std::move(monitor)),
      accelerometer_(std::move(accelerometer)) {}

StepRunner::~StepRunner() = default;

StepOutcome StepRunner::run(const Step& step) {
    return std::visit([this](const auto& action) { return (*this)(action); }, step.action);
}

StepOutcome StepRunner::awaitSessionKey(std::size_t index, Milliseconds timeout) const {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    auto key = sessionKeys_->waitFor(index, timeout);
    if (!key) {
        // What went wrong, as far as the library knows (a refused token, an untrusted certificate, ...).
        if (auto error = service().health().lastError) {
            complain("no session key yet; the last error: " + error->operation + " " + error->code + " " + error->text);
        }
        return StepOutcome{nullptr, true};
    }
    // Online, the completion runs on the main queue in the same task that
    // then hands the start of collection (and the session key) to the
    // library's worker. A report sent before that task ends would wait in the
    // queue for want of a session, so the step ends only once the main queue
    // has moved past it: the reports of later steps reach the worker after
    // the start.
    auto passed = std::make_shared<Mailbox<bool>>();
    mainQueue_->post([passed] { passed->post(true); });
    auto left = std::chrono::duration_cast<Milliseconds>(deadline - std::chrono::steady_clock::now());
    if (!passed->waitFor(0, std::max(left, Milliseconds(0)))) return StepOutcome{*key, true};
    return StepOutcome{*key, false};
}

std::string StepRunner::latestSessionKey() const {
    auto count = sessionKeys_->count();
    if (count == 0) return "";
    return sessionKeys_->waitFor(count - 1, Milliseconds(0)).value_or("");
}

StepOutcome StepRunner::operator()(const AuthenticateStep& step) {
    // The completion stays installed: every later change of the network path
    // delivers another session key to the same mailbox.
    auto index = sessionKeys_->count();
    service().authenticateUser(scenario_.user, scenario_.secret, scenario_.customer,
                               [keys = sessionKeys_](const std::string& key) { keys->post(key); });
    return awaitSessionKey(index, step.timeout);
}

StepOutcome StepRunner::operator()(const NetworkStep& step) {
    auto index = sessionKeys_->count();
    if (monitor_) monitor_->setSatisfied(step.satisfied);
    if (!step.timeout) return StepOutcome{step.satisfied, false};
    return awaitSessionKey(index, *step.timeout);
}

StepOutcome StepRunner::operator()(const LocationStep& step) {
    return awaitCompletion<bool>(step.timeout, [&](auto completion) {
        service().sendLocationData(step.latitude, step.longitude, std::move(completion));
    });
}

StepOutcome StepRunner::operator()(const ReportStep& step) {
    return awaitCompletion<bool>(step.timeout, [&](auto completion) {
        switch (step.kind) {
            case ReportKind::userEvents:
                service().sendUserEvents(step.event, std::move(completion));
                break;
            case ReportKind::activityStream:
                service().sendActivityStream(step.event, std::move(completion));
                break;
            case ReportKind::accelerometer:
                service().sendAccelerometerData(step.event, std::move(completion));
                break;
        }
    });
}

StepOutcome StepRunner::operator()(const IgnoreDataCollectionStep& step) {
    service().setIgnoreDataCollection(step.value);
    return StepOutcome{step.value, false};
}

StepOutcome StepRunner::operator()(const WaitStep& step) {
    std::this_thread::sleep_for(step.duration);
    return StepOutcome{nullptr, false};
}

StepOutcome StepRunner::operator()(const HealthStep&) { return StepOutcome{healthJson(service().health()), false}; }

StepOutcome StepRunner::operator()(const DrainStep& step) {
    auto state = drain(step.timeout);
    if (state.idle()) return StepOutcome{true, false};
    return StepOutcome{JSONDictionary{{"inFlight", state.inFlight}, {"queued", state.queued}}, true};
}

}  // namespace quarra::cli
