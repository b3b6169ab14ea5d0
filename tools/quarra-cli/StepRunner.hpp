#pragma once
// Plays scenario steps against the library, one at a time, on the calling
// thread. Steps that wait do so for the completion the library calls on its
// own threads, or for their time-out.
#include <memory>
#include <optional>
#include <string>

#include <quarra/Executor.hpp>
#include <quarra/Json.hpp>

#include "Mailbox.hpp"
#include "Scenario.hpp"

namespace quarra {
class ManualPathMonitor;
class QuarraManager;
}  // namespace quarra

namespace quarra::cli {

class ScriptedAccelerometer;

struct StepOutcome {
    JSONDictionary result;  // what the completion received (null when nothing)
    bool timedOut = false;
};

class StepRunner {
public:
    // `mainQueue` is the main executor the library was configured with;
    // `monitor` the path monitor when the network is manual, else null;
    // `accelerometer` the scripted sensor when the sensors are scripted, else
    // null. Call only after quarra::configure().
    StepRunner(const Scenario& scenario, std::shared_ptr<Executor> mainQueue,
               std::shared_ptr<ManualPathMonitor> monitor,
               std::shared_ptr<ScriptedAccelerometer> accelerometer = nullptr);
    ~StepRunner();
    StepRunner(const StepRunner&) = delete;
    StepRunner& operator=(const StepRunner&) = delete;

    StepOutcome run(const Step& step);

    StepOutcome operator()(const AuthenticateStep& step);
    StepOutcome operator()(const NetworkStep& step);
    StepOutcome operator()(const LocationStep& step);
    StepOutcome operator()(const ReportStep& step);
    StepOutcome operator()(const IgnoreDataCollectionStep& step);
    StepOutcome operator()(const WaitStep& step);
    StepOutcome operator()(const DrainStep& step);
    StepOutcome operator()(const HealthStep& step);
    // The transaction operations (TransactionRunner.cpp).
    StepOutcome operator()(const TransactionEventStep& step);
    StepOutcome operator()(const OrderCompletionStep& step);
    StepOutcome operator()(const CancelOrderStep& step);
    // The tracking controls (TrackingRunner.cpp, ScreenRunner.cpp).
    StepOutcome operator()(const TextFieldStep& step);
    StepOutcome operator()(const TextWatcherStep& step);
    StepOutcome operator()(const TapButtonStep& step);
    StepOutcome operator()(const AccelerometerSampleStep& step);
    StepOutcome operator()(const PickerStep& step);
    StepOutcome operator()(const ScreenStep& step);
    StepOutcome operator()(const TaggedScreenStep& step);

private:
    // The next session key the authentication completion receives.
    StepOutcome awaitSessionKey(std::size_t index, Milliseconds timeout) const;
    std::string latestSessionKey() const;
    QuarraManager& transactions();

    const Scenario& scenario_;
    std::shared_ptr<Executor> mainQueue_;
    std::shared_ptr<ManualPathMonitor> monitor_;
    std::shared_ptr<ScriptedAccelerometer> accelerometer_;
    // Every session key the authentication completion has received, in order.
    std::shared_ptr<Mailbox<std::string>> sessionKeys_ = std::make_shared<Mailbox<std::string>>();
    std::unique_ptr<QuarraManager> transactions_;  // made at the first transaction step
};

// Starts an operation whose completion receives one value, then waits for
// the first value (later calls of the completion are ignored) or the time-out.
template <typename Value, typename Start>
StepOutcome awaitCompletion(Milliseconds timeout, Start start) {
    auto mailbox = std::make_shared<Mailbox<Value>>();
    start([mailbox](const Value& value) { mailbox->post(value); });
    auto value = mailbox->waitFor(0, timeout);
    if (!value) return StepOutcome{nullptr, true};
    return StepOutcome{JSONDictionary(*value), false};
}

}  // namespace quarra::cli
