#include "tracking/TrackingContext.hpp"

#include "device/Orientation.hpp"
#include "platform/DeviceInfo.hpp"

namespace quarra {

std::string_view TrackingContext::orientationText() const { return getDeviceOrientation(*device); }

// The sender builds the envelope, serialises it and starts the request: work
// that stays off the user-interface thread.
void TrackingContext::handOff(std::function<void(ReportSender&)> work) const {
    reportExecutor->post([reports = reports, work = std::move(work)] { work(*reports); });
}

void TrackingContext::sendUserEvents(JSONDictionary data, ReportSender::BoolCompletion completion) const {
    handOff([data = std::move(data), completion = std::move(completion)](ReportSender& reports) mutable {
        reports.sendUserEvents(std::move(data), std::move(completion));
    });
}

void TrackingContext::sendActivityStream(JSONDictionary data, ReportSender::BoolCompletion completion) const {
    handOff([data = std::move(data), completion = std::move(completion)](ReportSender& reports) mutable {
        reports.sendActivityStream(std::move(data), std::move(completion));
    });
}

void TrackingContext::sendAccelerometerData(JSONDictionary data, ReportSender::BoolCompletion completion) const {
    handOff([data = std::move(data), completion = std::move(completion)](ReportSender& reports) mutable {
        reports.sendAccelerometerData(std::move(data), std::move(completion));
    });
}

}  // namespace quarra
