#pragma once
/**
 * @file
 * @brief "Now", as a seam so that tests can control time.
 */
#include <quarra/Export.hpp>
#include <chrono>

namespace quarra {

/**
 * @brief The source of the current time for every timestamp the library writes.
 *
 * Set Options::clock to replace the system clock (in a host's tests, say).
 *
 * @par Thread
 * The library calls now() from any of its threads and from the host's
 * threads, concurrently; implementations must be thread-safe.
 * @par Lifetime
 * The library keeps the clock it is given for the rest of the process.
 * @par Blocking
 * now() must not block.
 */
class QUARRA_API Clock {
public:
    /// A point on the system clock's time line.
    using TimePoint = std::chrono::system_clock::time_point;
    /// Destroyed by whoever holds the last reference.
    virtual ~Clock() = default;
    /// The current time. Any thread; must not block.
    virtual TimePoint now() const = 0;
};

/**
 * @brief The clock the library uses when the host gives none: std::chrono::system_clock.
 *
 * @par Thread
 * Any thread.
 * @par Lifetime
 * Holds no state; copy or share freely.
 * @par Blocking
 * Never blocks.
 */
class QUARRA_API SystemClock final : public Clock {
public:
    /// std::chrono::system_clock::now().
    TimePoint now() const override { return std::chrono::system_clock::now(); }
};

}  // namespace quarra
