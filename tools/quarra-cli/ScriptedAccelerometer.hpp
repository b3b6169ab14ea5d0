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
    void startAccelerometerUpdates() override;
    std::optional<AccelerometerSample> accelerometerData() override;

    // Whether the library has started polling this sensor.
    bool isStarted() const;
    // Whether the library has read the reading set last.
    bool readSinceSet() const;

private:
    mutable std::mutex mutex_;  // guards the three below: set by the scenario thread, read on the main queue
    std::optional<AccelerometerSample> latest_;
    bool started_ = false;
    bool read_ = false;
};

}  // namespace quarra::cli
