#include "ScriptedAccelerometer.hpp"

namespace quarra::cli {

void ScriptedAccelerometer::setReading(Acceleration acceleration) {
    std::lock_guard lock(mutex_);
    const uint64_t sequence = latest_ ? latest_->sequence + 1 : 1;
    latest_ = AccelerometerSample{acceleration, sequence};
    read_ = false;
}

void ScriptedAccelerometer::startAccelerometerUpdates() {
    std::lock_guard lock(mutex_);
    started_ = true;
}

std::optional<AccelerometerSample> ScriptedAccelerometer::accelerometerData() {
    std::lock_guard lock(mutex_);
    read_ = true;
    return latest_;
}

bool ScriptedAccelerometer::isStarted() const {
    std::lock_guard lock(mutex_);
    return started_;
}

bool ScriptedAccelerometer::readSinceSet() const {
    std::lock_guard lock(mutex_);
    return read_;
}

}  // namespace quarra::cli
