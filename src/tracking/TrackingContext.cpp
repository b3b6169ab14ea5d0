#include "tracking/TrackingContext.hpp"

#include "device/Orientation.hpp"
#include "platform/DeviceInfo.hpp"

namespace quarra {
namespace {

// Answers every report false at once, with a console line: the library has
// been shut down.
class RefusingSender final : public ReportSender {
public:
    explicit RefusingSender(const std::shared_ptr<const Console>& console) : console_(console) {}
    void sendUserEvents(JSONDictionary, BoolCompletion completion) override { refuse(completion); }
    void sendActivityStream(JSONDictionary, BoolCompletion completion) override { refuse(completion); }
    void sendAccelerometerData(JSONDictionary, BoolCompletion completion) override { refuse(completion); }

private:
    void refuse(const BoolCompletion& completion) const {
        if (console_) console_->log("The library has been shut down; the report was not sent");
        if (completion) completion(false);
    }
    const std::shared_ptr<const Console>& console_;
};

}  // namespace

std::string_view TrackingContext::orientationText() const { return getDeviceOrientation(*device); }

// The sender builds the envelope, serialises it and starts the request: work
// that stays off the user-interface thread.
void TrackingContext::handOff(HandOff work) const {
    if (accepting && !accepting()) {
        RefusingSender refused(console);
        sendHandOff(work, refused);
        return;
    }
    if (handOffLine->push(std::move(work))) {
        reportExecutor->post([line = handOffLine, reports = reports] { line->drain(*reports); });
    }
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
