#include "device/IioAccelerometerSource.hpp"

#include <mutex>
#include <optional>


namespace quarra {

struct IioAccelerometerSource::State {
    std::filesystem::path root;
    Reporter reportProblem;

    std::mutex mutex;  // guards everything below
    std::optional<IioAccelerometer> device;
    std::chrono::milliseconds interval{500};
    bool started = false;
    bool failing = false;
    std::optional<AccelerometerSample> latest;
    uint64_t sequence = 0;
};

IioAccelerometerSource::IioAccelerometerSource(std::filesystem::path root, std::shared_ptr<Executor> sampler,
                                               Reporter reportProblem)
    : sampler_(std::move(sampler)), state_(std::make_shared<State>()) {
    state_->root = std::move(root);
    state_->reportProblem = std::move(reportProblem);
}

IioAccelerometerSource::~IioAccelerometerSource() = default;

bool IioAccelerometerSource::isAccelerometerAvailable() {
    std::lock_guard lock(state_->mutex);
    // Look again until a device turns up; once found it is kept.
    if (!state_->device) state_->device = IioAccelerometer::find(state_->root);
    return state_->device.has_value();
}

void IioAccelerometerSource::setAccelerometerUpdateInterval(std::chrono::milliseconds interval) {
    std::lock_guard lock(state_->mutex);
    state_->interval = std::max(interval, std::chrono::milliseconds(10));
}

void IioAccelerometerSource::startAccelerometerUpdates() {
    {
        std::lock_guard lock(state_->mutex);
        if (state_->started || !state_->device) return;
        state_->started = true;
    }
    std::weak_ptr<State> weakState = state_;
    sampler_->post([weakState, sampler = std::weak_ptr<Executor>(sampler_)] {
        if (auto executor = sampler.lock()) sampleLoop(weakState, executor);
    });
}

void IioAccelerometerSource::stopAccelerometerUpdates() {
    std::lock_guard lock(state_->mutex);
    state_->started = false;
}

std::optional<AccelerometerSample> IioAccelerometerSource::accelerometerData() {
    std::lock_guard lock(state_->mutex);
    return state_->latest;
}

void IioAccelerometerSource::sampleLoop(const std::weak_ptr<State>& weakState, const std::shared_ptr<Executor>& sampler) {
    auto state = weakState.lock();
    if (!state) return;
    std::optional<IioAccelerometer> device;
    {
        std::lock_guard lock(state->mutex);
        if (!state->started) return;
        device = state->device;
    }
    std::optional<Acceleration> reading = device ? device->read() : std::nullopt;
    std::optional<std::string> problem;
    std::chrono::milliseconds interval;
    {
        std::lock_guard lock(state->mutex);
        if (reading) {
            state->latest = AccelerometerSample{*reading, ++state->sequence};
            state->failing = false;
        } else if (!state->failing) {
            // The last good reading stays; say so once per failing spell.
            state->failing = true;
            problem = "Could not read the accelerometer at " + (device ? device->device().string() : state->root.string());
        }
        interval = state->interval;
    }
    if (problem && state->reportProblem) state->reportProblem(*problem);
    sampler->postAfter(interval, [weakState, weakSampler = std::weak_ptr<Executor>(sampler)] {
        if (auto executor = weakSampler.lock()) sampleLoop(weakState, executor);
    });
}

}  // namespace quarra
