#pragma once
// The accelerometer seam: where the motion collector gets its readings.
#include <chrono>
#include <cstdint>
#include <optional>

namespace quarra {

// One reading in units of the gravitational acceleration (g). A device lying
// still face up reads about x 0, y 0, z -1.
struct Acceleration {
    double x = 0;
    double y = 0;
    double z = 0;
    bool operator==(const Acceleration&) const = default;
};

struct AccelerometerSample {
    Acceleration acceleration;
    uint64_t sequence = 0;  // grows by one with every new reading
};

// A sensor that samples on its own and keeps its latest reading. The library
// calls it from its main queue only; calls must not block for long.
class AccelerometerSource {
public:
    virtual ~AccelerometerSource() = default;
    virtual bool isAccelerometerAvailable() = 0;
    virtual void setAccelerometerUpdateInterval(std::chrono::milliseconds interval) = 0;
    // Starts sampling; starting again while running changes nothing.
    virtual void startAccelerometerUpdates() = 0;
    // The latest reading, absent until the first one arrives.
    virtual std::optional<AccelerometerSample> accelerometerData() = 0;
};

}  // namespace quarra
