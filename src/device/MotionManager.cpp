#include "device/MotionManager.hpp"

#include "base/DecimalText.hpp"
#include "device/IioAccelerometerSource.hpp"
#include "device/LocalizedModel.hpp"
#include "platform/Environment.hpp"

namespace quarra {

MotionManager& MotionManager::shared() {
    // Never released (other threads may still poll at exit); the holder stays
    // reachable so that leak checkers do not flag it.
    static const std::shared_ptr<MotionManager>* instance = [] {
        const auto& environment = Environment::shared();
        auto source = environment.options().accelerometerSource;
        // The environment lives for the whole process, so its console can be
        // shared without an owner.
        std::shared_ptr<const Console> console(std::shared_ptr<const Console>(), &environment.console());
        auto created = create(Dependencies{
            .source = source ? source : makeIioAccelerometerSource(),
            .mainExecutor = environment.mainExecutor(),
            .console = std::move(console),
            .localizedModel = [] { return localizedModel(); },
        });
        return new std::shared_ptr<MotionManager>(std::move(created));
    }();
    return **instance;
}

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

void MotionManager::schedulePoll() {
    deps_.mainExecutor->postAfter(kPollInterval, [weak = weak_from_this()] {
        auto self = weak.lock();
        if (!self) return;
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
