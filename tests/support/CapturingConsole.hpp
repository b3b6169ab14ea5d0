#pragma once
// A console sink that keeps every line, for assertions.
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include <quarra/Console.hpp>

namespace quarra::testing {

class CapturingConsole final : public ConsoleSink {
public:
    void writeLine(std::string_view line) override;
    std::vector<std::string> lines() const;
    // Lines with the "<timestamp> [DataCollector] " prefix taken off; fixed
    // lines as they are.
    std::vector<std::string> messages() const;
    bool contains(std::string_view message) const;
    // Whether any line holds `text` anywhere.
    bool mentions(std::string_view text) const;
    // Waits until a line with this message arrives; false after `limit`.
    bool waitFor(std::string_view message, std::chrono::milliseconds limit) const;
    void clear();

private:
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    std::vector<std::string> lines_;
};

// Turns console logging on for one test and restores it afterwards.
class ScopedLogs {
public:
    explicit ScopedLogs(bool enabled = true);
    ~ScopedLogs();

private:
    bool previous_;
};

}  // namespace quarra::testing
