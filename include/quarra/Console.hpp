#pragma once
// Console lines: where the library's human-readable diagnostics go.
#include <string_view>

namespace quarra {

// Receives whole lines (without the trailing newline). Called from any thread;
// implementations serialise their own output.
class ConsoleSink {
public:
    virtual ~ConsoleSink() = default;
    virtual void writeLine(std::string_view line) = 0;
};

// Switches the library's "[DataCollector]" console lines on or off for the
// whole process (off at start). A few fixed lines are always printed.
void enableLogs(bool enabled);
bool logsEnabled();

}  // namespace quarra
