#pragma once
// What the tracking controls hand their reports to: the library's collector,
// or a sender of the host's own (see makeTrackingContext).
//
// Called on the library's worker, one report at a time. Completions may be
// called on any thread, at most once each.
#include <functional>

#include <quarra/Json.hpp>

namespace quarra {

class ReportSender {
public:
    using BoolCompletion = std::function<void(bool)>;
    virtual ~ReportSender() = default;
    virtual void sendUserEvents(JSONDictionary data, BoolCompletion completion = {}) = 0;
    virtual void sendActivityStream(JSONDictionary data, BoolCompletion completion = {}) = 0;
    virtual void sendAccelerometerData(JSONDictionary data, BoolCompletion completion = {}) = 0;
};

}  // namespace quarra
