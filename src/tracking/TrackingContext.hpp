#pragma once
// Everything a tracking control reports through. Controls keep a shared
// pointer to their context; the shared one lives for the whole process.
//
// Threads: controls, screen hooks and the delayed enter step run on the main
// queue (mainExecutor) and touch `values` and `notifications` only there.
// Reports are handed to `reportExecutor`, which calls the sender off the
// user-interface thread; send completions may run on any thread and only
// write console lines.
#include <functional>
#include <memory>
#include <string_view>

#include <quarra/Clock.hpp>
#include <quarra/Console.hpp>
#include <quarra/Executor.hpp>
#include <quarra/Json.hpp>
#include <quarra/tracking/TextEditingNotifications.hpp>
#include <quarra/tracking/TrackingContextRef.hpp>

#include "base/ConsoleLog.hpp"
#include <quarra/tracking/ReportSender.hpp>
#include "tracking/HandOffLine.hpp"
#include "tracking/TrackingValues.hpp"

namespace quarra {

class DeviceInfo;
class MotionManager;

class TrackingContext {
public:
    std::shared_ptr<ReportSender> reports;
    std::shared_ptr<Executor> mainExecutor;
    std::shared_ptr<Executor> reportExecutor;
    std::shared_ptr<Clock> clock;
    std::shared_ptr<const Console> console;
    std::shared_ptr<ConsoleSink> systemLog;  // lines written whatever the log switch
    std::shared_ptr<const DeviceInfo> device;
    std::shared_ptr<MotionManager> motion;
    std::shared_ptr<TrackingValues> values;
    std::shared_ptr<TextEditingNotificationCenter> notifications;
    // False once the library no longer takes reports (after its shutdown):
    // hand-offs are then answered false at once. Empty: always taking them.
    std::function<bool()> accepting;

    Clock::TimePoint now() const { return clock->now(); }
    // "landscape" or "portrait", from the device's orientation now.
    std::string_view orientationText() const;

    // Runs `work` with the sender on the report queue, after every earlier
    // hand-off: several reports of one user action go in one hand-off. Taps
    // and editing periods pass their facts by value and cost the host's
    // thread no allocation; only a hand-off into an empty line wakes the queue.
    void handOff(HandOff work) const;
    // Hand a report to the sender without waiting for it.
    void sendUserEvents(JSONDictionary data, ReportSender::BoolCompletion completion = {}) const;
    void sendActivityStream(JSONDictionary data, ReportSender::BoolCompletion completion = {}) const;
    void sendAccelerometerData(JSONDictionary data, ReportSender::BoolCompletion completion = {}) const;

    // Where hand-offs wait for the report queue; shared with its drain task.
    std::shared_ptr<HandOffLine> handOffLine = std::make_shared<HandOffLine>();
};

}  // namespace quarra
