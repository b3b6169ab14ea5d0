#include "ScriptedAccelerometer.hpp"

namespace quarra::cli {

void ScriptedAccelerometer::setReading(Acceleration acceleration) {
    std::lock_guard lock(mutex_);
    const uint64_t sequence = latest_ ? latest_->sequence + 1 : 1;
    latest_ = AccelerometerSample{acceleration, sequence};
}

std::optional<AccelerometerSample> ScriptedAccelerometer::accelerometerData() {
    std::lock_guard lock(mutex_);
    return latest_;
}

}  // namespace quarra::cli
