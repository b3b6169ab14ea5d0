// Main-thread cost of the two tracking paths that run on the host's UI thread:
// one tracked tap, and the end of one editing period (record, dictionary,
// hand-off to the report queue). The sender behind the queue discards.
#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>

#include <quarra/tracking/TrackingButton.hpp>
#include <quarra/tracking/TrackingTextField.hpp>

#include "device/MotionManager.hpp"
#include <quarra/testing/FixedDeviceInfo.hpp>
#include <quarra/testing/ManualExecutor.hpp>
#include "tracking/TrackingContext.hpp"

namespace quarra {
namespace {

class DiscardingSender final : public ReportSender {
public:
    void sendUserEvents(JSONDictionary, BoolCompletion) override { ++count; }
    void sendActivityStream(JSONDictionary, BoolCompletion) override { ++count; }
    void sendAccelerometerData(JSONDictionary, BoolCompletion) override { ++count; }
    std::atomic<uint64_t> count{0};
};

class NullSink final : public ConsoleSink {
public:
    void writeLine(std::string_view) override {}
};

class StillAccelerometer final : public AccelerometerSource {
public:
    bool isAccelerometerAvailable() override { return true; }
    void setAccelerometerUpdateInterval(std::chrono::milliseconds) override {}
    void startAccelerometerUpdates() override {}
    std::optional<AccelerometerSample> accelerometerData() override {
        return AccelerometerSample{{0.0012, -0.0105, -0.9996}, 1};
    }
};

class BenchField final : public TrackingTextField::Host {
public:
    std::string className() const override { return "UITextField"; }
    bool isEditing() const override { return editing; }
    std::string text() const override { return "secret"; }
    bool editing = false;
};

std::shared_ptr<TrackingContext> benchContext() {
    auto clock = std::make_shared<SystemClock>();
    auto main = std::make_shared<ManualExecutor>();  // the accelerometer poll is never run
    auto context = std::make_shared<TrackingContext>();
    context->reports = std::make_shared<DiscardingSender>();
    context->mainExecutor = main;
    context->reportExecutor = makeSerialQueue("bench-reports");
    context->clock = clock;
    context->console = std::make_shared<Console>(std::make_shared<NullSink>(), clock);
    context->systemLog = std::make_shared<NullSink>();
    context->device = std::make_shared<FixedDeviceInfo>();
    context->motion = MotionManager::create({
        .source = std::make_shared<StillAccelerometer>(),
        .mainExecutor = main,
        .console = context->console,
        .localizedModel = [] { return std::string("Laptop"); },
    });
    context->motion->getAccelerometerData();  // a reading is there: the tap sends both reports
    context->values = std::make_shared<TrackingValues>();
    context->notifications = std::make_shared<TextEditingNotificationCenter>();
    return context;
}

// One tap: touch line (logs off), user event, accelerometer reading, two hand-offs.
void BM_TrackedTap(benchmark::State& state) {
    auto context = benchContext();
    TrackingButton button(context);
    button.setTrackingAction(ButtonTrackingAction::LoginAttempt);
    button.touchesMoved({{0.5, {120, 300}}});
    for (auto _ : state) button.buttonTapped();
    state.counters["reports"] = 2;
}
BENCHMARK(BM_TrackedTap)->Unit(benchmark::kMicrosecond);

// The end of one editing period of five changes, with two other fields on
// the screen hearing the same notification.
void BM_EditingPeriodEnd(benchmark::State& state) {
    auto context = benchContext();
    BenchField view, otherView1, otherView2;
    TrackingTextField field(view, context), other1(otherView1, context), other2(otherView2, context);
    field.setFieldTag("Password");
    other1.setFieldTag("LoginID");
    other2.setFieldTag("BillingCity");
    for (auto _ : state) {
        view.editing = true;
        field.editingDidBegin();
        for (int i = 0; i < 5; ++i) field.textDidChange();
        view.editing = false;
        auto start = std::chrono::steady_clock::now();
        field.editingDidEnd();
        auto end = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    }
}
BENCHMARK(BM_EditingPeriodEnd)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace quarra
