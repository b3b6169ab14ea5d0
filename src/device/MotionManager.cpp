#include "device/MotionManager.hpp"

#include "base/DecimalText.hpp"

namespace quarra {

std::shared_ptr<MotionManager> MotionManager::create(Dependencies dependencies) {
    return std::shared_ptr<MotionManager>(new MotionManager(std::move(dependencies)));
}

MotionManager::MotionManager(Dependencies dependencies) : deps_(std::move(dependencies)) {}

void MotionManager::startUpdates() {
    if (!deps_.source->isAccelerometerAvailable()) {
        deps_.console->print("No Accelerometers on this device: " + (deps_.localizedModel ? deps_.localizedModel() : ""));
        return;
    }
    deps_.source->setAccelerometerUpdateInterval(kUpdateInterval);
    deps_.source->startAccelerometerUpdates();
    {
        std::lock_guard lock(mutex_);
        if (polling_) return;
        polling_ = true;
    }
    schedulePoll();
}

void MotionManager::stopUpdates() {
    std::lock_guard lock(mutex_);
    polling_ = false;
}

void MotionManager::schedulePoll() {
    deps_.mainExecutor->postAfter(kPollInterval, [weak = weak_from_this()] {
        auto self = weak.lock();
        if (!self || !self->isPolling()) return;
        self->getAccelerometerData();
        self->schedulePoll();
    });
}

void MotionManager::getAccelerometerData() {
    auto sample = deps_.source->accelerometerData();
    bool isNew = false;
    {
        std::lock_guard lock(mutex_);
        acceleration_ = sample ? std::optional(sample->acceleration) : std::nullopt;
        if (sample && lastPrinted_ != sample->sequence) {
            lastPrinted_ = sample->sequence;
            isNew = true;
        }
    }
    if (!isNew) return;
    const Acceleration& a = sample->acceleration;
    deps_.console->print("X: " + shortestDecimal(a.x) + " Y: " + shortestDecimal(a.y) + " Z: " + shortestDecimal(a.z));
}

std::optional<Acceleration> MotionManager::acceleration() const {
    std::lock_guard lock(mutex_);
    return acceleration_;
}

bool MotionManager::isPolling() const {
    std::lock_guard lock(mutex_);
    return polling_;
}

}  // namespace quarra
