#pragma once
/**
 * @file
 * @brief Console lines: where the library's human-readable diagnostics go.
 */
#include <quarra/Export.hpp>
#include <string_view>

namespace quarra {

/**
 * @brief Receives the library's console output, one whole line at a time.
 *
 * Lines come without the trailing newline. The default sink writes to
 * standard output; set Options::console to send them elsewhere.
 *
 * @par Thread
 * Called from any thread, also concurrently; implementations serialise their
 * own output.
 * @par Lifetime
 * The library keeps the sink it is given for the rest of the process.
 * @par Blocking
 * writeLine() runs on whichever thread writes the line (the library's own
 * threads, and host threads calling into the library); it should return
 * quickly.
 */
class QUARRA_API ConsoleSink {
public:
    /// Destroyed by whoever holds the last reference.
    virtual ~ConsoleSink() = default;
    /// One line, without its newline. `line` is valid only during the call.
    virtual void writeLine(std::string_view line) = 0;
};

/**
 * @brief Switches the library's "[DataCollector]" console lines on or off.
 *
 * The switch is for the whole process and starts off. A few fixed lines
 * are always printed.
 *
 * @par Thread
 * Any thread; the change is seen by every thread.
 * @par Lifetime
 * Keeps nothing; the switch lasts until changed again.
 * @par Blocking
 * Never blocks.
 */
QUARRA_API void enableLogs(bool enabled);

/**
 * @brief Whether the "[DataCollector]" console lines are on.
 *
 * @par Thread
 * Any thread.
 * @par Lifetime
 * Keeps nothing.
 * @par Blocking
 * Never blocks.
 */
QUARRA_API bool logsEnabled();

}  // namespace quarra
