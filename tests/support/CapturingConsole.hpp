#pragma once
// A console sink that keeps every line, for assertions.
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
    void clear();

private:
    mutable std::mutex mutex_;
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
