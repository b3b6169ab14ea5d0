#include "ReportRelay.hpp"

#include <quarra/DataCollectorService.hpp>

#include "ActivityPanel.hpp"
#include "GuiThread.hpp"
#include "ReportDigest.hpp"

namespace demo {

ReportRelay::ReportRelay(quarra::qt::Collector& collector, ActivityPanel& panel)
    : panel_(&panel),
      userEventsAnswer_(collector.reportCompletion(Report::userEvents)),
      activityAnswer_(collector.reportCompletion(Report::activityStream)),
      motionAnswer_(collector.reportCompletion(Report::accelerometerData)) {}

ReportRelay::BoolCompletion ReportRelay::answered(Report kind, const quarra::JSONDictionary& data,
                                                  BoolCompletion completion) {
    const int row = nextRow_++;
    onGuiThread(panel_, [row, digest = digestOf(kind, data)](ActivityPanel& panel) { panel.reportSent(row, digest); });
    const auto& viaCollector = kind == Report::userEvents       ? userEventsAnswer_
                               : kind == Report::activityStream ? activityAnswer_
                                                                : motionAnswer_;
    return [panel = panel_, row, viaCollector, completion = std::move(completion)](bool accepted) {
        if (completion) completion(accepted);
        onGuiThread(panel, [row, accepted](ActivityPanel& p) { p.reportAnswered(row, accepted); });
        viaCollector(accepted);
    };
}

void ReportRelay::sendUserEvents(quarra::JSONDictionary data, BoolCompletion completion) {
    auto done = answered(Report::userEvents, data, std::move(completion));
    quarra::DataCollectorService::defaultService().sendUserEvents(std::move(data), std::move(done));
}

void ReportRelay::sendActivityStream(quarra::JSONDictionary data, BoolCompletion completion) {
    auto done = answered(Report::activityStream, data, std::move(completion));
    quarra::DataCollectorService::defaultService().sendActivityStream(std::move(data), std::move(done));
}

void ReportRelay::sendAccelerometerData(quarra::JSONDictionary data, BoolCompletion completion) {
    auto done = answered(Report::accelerometerData, data, std::move(completion));
    quarra::DataCollectorService::defaultService().sendAccelerometerData(std::move(data), std::move(done));
}

std::shared_ptr<const quarra::TrackingContext> makeShopContext(quarra::qt::Collector& collector,
                                                               ActivityPanel& panel) {
    return quarra::makeTrackingContext(std::make_shared<ReportRelay>(collector, panel));
}

}  // namespace demo
