#include "ReportProbe.hpp"

#include <quarra/DataCollectorService.hpp>

namespace quarra::cli {
namespace {

DataCollectorService& library() { return DataCollectorService::defaultService(); }

}  // namespace

ReportSender::BoolCompletion ReportProbe::relay(BoolCompletion completion) {
    ++handedOver_;
    // Reports the control sends without a completion are heard too. The
    // control's own completion runs first: once the step hears the outcome
    // it may let the control go, and the completion would then stay silent.
    return [results = results_, completion = std::move(completion)](bool delivered) {
        if (completion) completion(delivered);
        results->post(delivered);
    };
}

void ReportProbe::sendUserEvents(JSONDictionary data, BoolCompletion completion) {
    library().sendUserEvents(std::move(data), relay(std::move(completion)));
}

void ReportProbe::sendActivityStream(JSONDictionary data, BoolCompletion completion) {
    library().sendActivityStream(std::move(data), relay(std::move(completion)));
}

void ReportProbe::sendAccelerometerData(JSONDictionary data, BoolCompletion completion) {
    library().sendAccelerometerData(std::move(data), relay(std::move(completion)));
}

}  // namespace quarra::cli
