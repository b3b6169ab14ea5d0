#pragma once
// An accelerometer whose readings the scenario sets ("--sensors scripted"),
// so that a button tap can carry a known reading.
#include <memory>
#include <mutex>
#include <optional>

#include <quarra/AccelerometerSource.hpp>

namespace quarra::cli {

class ScriptedAccelerometer final : public AccelerometerSource {
public:
    // Makes `acceleration` the latest reading, one sequence number on.
    void setReading(Acceleration acceleration);

    bool isAccelerometerAvailable() override { return true; }
    void setAccelerometerUpdateInterval(std::chrono::milliseconds) override {}
    void startAccelerometerUpdates() override {}
    std::optional<AccelerometerSample> accelerometerData() override;

private:
    std::mutex mutex_;  // guards latest_: set by the scenario thread, read on the main queue
    std::optional<AccelerometerSample> latest_;
};

}  // namespace quarra::cli
