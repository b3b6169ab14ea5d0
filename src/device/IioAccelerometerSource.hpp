#pragma once
// The Linux accelerometer source: samples an IIO accelerometer on the
// sampler's queue (the library's worker) at the update interval and keeps the
// latest reading.
#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include <quarra/AccelerometerSource.hpp>
#include <quarra/Executor.hpp>

#include "device/IioAccelerometer.hpp"

namespace quarra {

class IioAccelerometerSource final : public AccelerometerSource {
public:
    using Reporter = std::function<void(const std::string& message)>;

    // `sampler` runs the sysfs reads (they may wait on the sensor's bus), so
    // the caller's queue never does.
    IioAccelerometerSource(std::filesystem::path root, std::shared_ptr<Executor> sampler, Reporter reportProblem = {});
    ~IioAccelerometerSource() override;

    bool isAccelerometerAvailable() override;
    void setAccelerometerUpdateInterval(std::chrono::milliseconds interval) override;
    void startAccelerometerUpdates() override;
    std::optional<AccelerometerSample> accelerometerData() override;
    // Ends the sampling (the last reading stays); start again to resume.
    void stopAccelerometerUpdates();

private:
    struct State;
    // One sampling step, then the next one an interval later; stops when the
    // source is gone.
    static void sampleLoop(const std::weak_ptr<State>& weakState, const std::shared_ptr<Executor>& sampler);

    std::shared_ptr<Executor> sampler_;
    std::shared_ptr<State> state_;
};

}  // namespace quarra
