#pragma once
// The shop's tracking context hands its reports here. Each goes to the
// library's collector exactly as the shared context would send it; the
// Collector carries its answer back to the GUI thread, and the activity
// panel hears what was sent and how it was answered.
#include <QPointer>
#include <atomic>
#include <memory>

#include <quarra/qt/Collector.hpp>
#include <quarra/tracking/ReportSender.hpp>
#include <quarra/tracking/TrackingContextRef.hpp>

namespace demo {

class ActivityPanel;

class ReportRelay final : public quarra::ReportSender {
public:
    // Made on the GUI thread; the completions it takes from `collector` may then run anywhere.
    ReportRelay(quarra::qt::Collector& collector, ActivityPanel& panel);

    // The library's worker calls these, one report at a time.
    void sendUserEvents(quarra::JSONDictionary data, BoolCompletion completion) override;
    void sendActivityStream(quarra::JSONDictionary data, BoolCompletion completion) override;
    void sendAccelerometerData(quarra::JSONDictionary data, BoolCompletion completion) override;

private:
    using Report = quarra::qt::Collector::Report;
    BoolCompletion answered(Report kind, const quarra::JSONDictionary& data, BoolCompletion completion);

    QPointer<ActivityPanel> panel_;  // only read on the GUI thread
    quarra::DataCollectorService::BoolCompletion userEventsAnswer_;
    quarra::DataCollectorService::BoolCompletion activityAnswer_;
    quarra::DataCollectorService::BoolCompletion motionAnswer_;
    std::atomic<int> nextRow_{1};
};

// The context every tracked widget of the shop reports through.
std::shared_ptr<const quarra::TrackingContext> makeShopContext(quarra::qt::Collector& collector, ActivityPanel& panel);

}  // namespace demo
