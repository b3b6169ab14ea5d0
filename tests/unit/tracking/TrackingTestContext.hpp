#pragma once
// A tracking context made of doubles: reports recorded instead of sent, one
// manual executor on a fake clock for the main queue and the report hand-off,
// captured console and system log, fixed device facts, a scripted accelerometer.
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include <quarra/tracking/ViewNode.hpp>

#include "device/MotionManager.hpp"
#include <quarra/testing/FixedDeviceInfo.hpp>
#include <quarra/testing/ManualExecutor.hpp>
#include "support/CapturingConsole.hpp"
#include "tracking/TrackingContext.hpp"

namespace quarra::testing {

// Keeps every report and lets the test answer its completion.
class RecordingReportSender final : public ReportSender {
public:
    enum class Kind { userEvents, activityStream, accelerometerData };
    struct Report {
        Kind kind;
        JSONDictionary data;
        BoolCompletion completion;
    };

    void sendUserEvents(JSONDictionary data, BoolCompletion completion) override {
        record(Kind::userEvents, std::move(data), std::move(completion));
    }
    void sendActivityStream(JSONDictionary data, BoolCompletion completion) override {
        record(Kind::activityStream, std::move(data), std::move(completion));
    }
    void sendAccelerometerData(JSONDictionary data, BoolCompletion completion) override {
        record(Kind::accelerometerData, std::move(data), std::move(completion));
    }

    std::vector<Report> reports() const {
        std::lock_guard lock(mutex_);
        return reports_;
    }
    std::vector<JSONDictionary> data(Kind kind) const {
        std::vector<JSONDictionary> result;
        for (const auto& report : reports()) {
            if (report.kind == kind) result.push_back(report.data);
        }
        return result;
    }
    // Answers every completion recorded so far.
    void answerAll(bool delivered) {
        for (const auto& report : reports()) {
            if (report.completion) report.completion(delivered);
        }
    }

private:
    void record(Kind kind, JSONDictionary data, BoolCompletion completion) {
        std::lock_guard lock(mutex_);
        reports_.push_back({kind, std::move(data), std::move(completion)});
    }
    mutable std::mutex mutex_;
    std::vector<Report> reports_;
};

// An accelerometer whose existence and latest sample the test sets.
class ScriptedAccelerometer final : public AccelerometerSource {
public:
    bool isAccelerometerAvailable() override { return available; }
    void setAccelerometerUpdateInterval(std::chrono::milliseconds) override {}
    void startAccelerometerUpdates() override {}
    std::optional<AccelerometerSample> accelerometerData() override { return sample; }
    void deliver(Acceleration reading) { sample = AccelerometerSample{reading, ++sequence}; }

    bool available = true;
    std::optional<AccelerometerSample> sample;
    uint64_t sequence = 0;
};

struct TrackingHarness {
    explicit TrackingHarness(DeviceOrientation orientation = DeviceOrientation::portrait) {
        auto built = std::make_shared<TrackingContext>();
        built->reports = sender;
        built->mainExecutor = main;
        built->reportExecutor = main;
        built->clock = clock;
        built->console = std::make_shared<Console>(lines, clock);
        built->systemLog = systemLog;
        FixedDeviceInfo::Facts facts;
        facts.orientation = orientation;
        built->device = std::make_shared<FixedDeviceInfo>(facts);
        built->motion = MotionManager::create({
            .source = accelerometer,
            .mainExecutor = main,
            .console = built->console,
            .localizedModel = [] { return std::string("iPhone"); },
        });
        built->values = values;
        built->notifications = notifications;
        context = built;
    }

    // Runs what is due now: hand-offs to the sender among them.
    void run() { main->runUntilIdle(); }
    std::vector<JSONDictionary> activityStreams() const {
        return sender->data(RecordingReportSender::Kind::activityStream);
    }
    std::vector<JSONDictionary> userEvents() const { return sender->data(RecordingReportSender::Kind::userEvents); }
    std::vector<JSONDictionary> accelerometerReports() const {
        return sender->data(RecordingReportSender::Kind::accelerometerData);
    }

    std::shared_ptr<FakeClock> clock = std::make_shared<FakeClock>();
    std::shared_ptr<ManualExecutor> main = std::make_shared<ManualExecutor>(clock);
    std::shared_ptr<RecordingReportSender> sender = std::make_shared<RecordingReportSender>();
    std::shared_ptr<CapturingConsole> lines = std::make_shared<CapturingConsole>();
    std::shared_ptr<CapturingConsole> systemLog = std::make_shared<CapturingConsole>();
    std::shared_ptr<ScriptedAccelerometer> accelerometer = std::make_shared<ScriptedAccelerometer>();
    std::shared_ptr<TrackingValues> values = std::make_shared<TrackingValues>();
    std::shared_ptr<TextEditingNotificationCenter> notifications = std::make_shared<TextEditingNotificationCenter>();
    std::shared_ptr<const TrackingContext> context;
};

// A view in a test's view tree.
class TestView : public ViewNode {
public:
    explicit TestView(std::string name, TestView* parent = nullptr) : name_(std::move(name)), parent_(parent) {}
    ViewNode* superview() const override { return parent_; }
    std::shared_ptr<FieldTrackingProtocol> fieldTracking() const override { return adopter; }
    std::string className() const override { return name_; }

    std::shared_ptr<FieldTrackingProtocol> adopter;

private:
    std::string name_;
    TestView* parent_;
};

// A host view that carries a field tag.
class TagHolder final : public FieldTrackingProtocol {
public:
    explicit TagHolder(FieldTags tag) : tag_(tag) {}
    FieldTags fieldTag() const override { return tag_; }
    void setFieldTag(FieldTags tag) override { tag_ = tag; }

private:
    FieldTags tag_;
};

}  // namespace quarra::testing
