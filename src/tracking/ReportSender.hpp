#pragma once
// What the tracking controls hand their reports to.
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
