#pragma once
// The process-wide accelerometer collector: keeps the latest reading that a
// fixed-rate poll on the main queue takes from the accelerometer source.
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include <quarra/AccelerometerSource.hpp>
#include <quarra/Executor.hpp>

#include "base/ConsoleLog.hpp"

namespace quarra {

class MotionManager : public std::enable_shared_from_this<MotionManager> {
public:
    struct Dependencies {
        std::shared_ptr<AccelerometerSource> source;
        std::shared_ptr<Executor> mainExecutor;  // runs the poll
        std::shared_ptr<const Console> console;
        std::function<std::string()> localizedModel;  // for the no-accelerometer line
    };

    // How often the source samples, and how often the main queue polls it:
    // 20 polls a second, well above the sampling rate.
    static constexpr std::chrono::milliseconds kUpdateInterval{500};
    static constexpr std::chrono::milliseconds kPollInterval{50};

    // The process-wide collector the library built, polling on the main queue.
    static MotionManager& shared();
    static std::shared_ptr<MotionManager> create(Dependencies dependencies);

    // Starts the sensor and the poll. Without an accelerometer it prints
    // "No Accelerometers on this device: " and the device's kind, every time.
    // Starting again keeps the one poll already running.
    void startUpdates();
    // Ends the poll (the last reading stays); the library's shutdown calls it.
    void stopUpdates();

    // One poll: takes the source's latest reading into acceleration(), and
    // prints "X: .. Y: .. Z: .." once for each new reading (not on every
    // poll: the sensor updates only twice a second).
    void getAccelerometerData();

    // The latest reading; absent until a poll has found one.
    std::optional<Acceleration> acceleration() const;
    bool isPolling() const;

private:
    explicit MotionManager(Dependencies dependencies);
    void schedulePoll();

    Dependencies deps_;
    mutable std::mutex mutex_;  // guards the three fields below
    std::optional<Acceleration> acceleration_;
    std::optional<uint64_t> lastPrinted_;
    bool polling_ = false;
};

}  // namespace quarra
