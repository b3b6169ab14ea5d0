#pragma once
/**
 * @file
 * @brief The accelerometer seam: where the motion collector gets its readings.
 *
 * A host that has its own sensor access sets Options::accelerometerSource;
 * otherwise the library reads the Linux IIO accelerometers in sysfs.
 */
#include <quarra/Export.hpp>
#include <chrono>
#include <cstdint>
#include <optional>

namespace quarra {

/**
 * @brief One reading in units of the gravitational acceleration (g).
 *
 * A device lying still face up reads about x 0, y 0, z -1.
 *
 * @par Thread
 * Any thread; it shares nothing.
 * @par Lifetime
 * A value type; copy freely.
 * @par Blocking
 * Never blocks.
 */
struct QUARRA_API Acceleration {
    double x = 0;  ///< Along the device's x axis, in g.
    double y = 0;  ///< Along the device's y axis, in g.
    double z = 0;  ///< Along the device's z axis, in g.
    /// Memberwise equality.
    bool operator==(const Acceleration&) const = default;
};

/**
 * @brief A reading with its place in the sensor's sequence of readings.
 *
 * @par Thread
 * Any thread; it shares nothing.
 * @par Lifetime
 * A value type; copy freely.
 * @par Blocking
 * Never blocks.
 */
struct QUARRA_API AccelerometerSample {
    Acceleration acceleration;  ///< The reading itself.
    uint64_t sequence = 0;      ///< Grows by one with every new reading; tells a new reading from a repeated one.
};

/**
 * @brief A sensor that samples on its own and keeps its latest reading.
 *
 * The library starts the source when a tracked button is tapped (every tap
 * asks again) and from then on polls accelerometerData() twenty times a
 * second on its main queue; DataCollectorService::shutdown() stops the
 * polling.
 *
 * @par Thread
 * The library calls every member from its main queue only (the host's
 * Options::mainExecutor, or the library's own "main" queue). The sampling
 * itself should run elsewhere.
 * @par Lifetime
 * The library keeps the source (Options::accelerometerSource) for the rest of
 * the process. It never stops a host's source: after
 * DataCollectorService::shutdown() the source keeps sampling until the host
 * stops it.
 * @par Blocking
 * Implementations must return quickly: every call runs on the queue that
 * also handles the user interface.
 */
class QUARRA_API AccelerometerSource {
public:
    /// Destroyed by whoever holds the last reference (the library keeps one for the process).
    virtual ~AccelerometerSource() = default;
    /// Whether the device has an accelerometer. Asked before every start.
    virtual bool isAccelerometerAvailable() = 0;
    /// How often the sensor should sample; set (to 500 ms) before every start.
    virtual void setAccelerometerUpdateInterval(std::chrono::milliseconds interval) = 0;
    /// Starts sampling; starting again while running changes nothing.
    virtual void startAccelerometerUpdates() = 0;
    /// The latest reading, absent until the first one arrives.
    virtual std::optional<AccelerometerSample> accelerometerData() = 0;
};

}  // namespace quarra
