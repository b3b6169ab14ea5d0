#pragma once
// The library's console: gated "[DataCollector]" lines and fixed lines.
#include <memory>
#include <string_view>

#include <quarra/Clock.hpp>
#include <quarra/Console.hpp>

namespace quarra {

class Console {
public:
    Console(std::shared_ptr<ConsoleSink> sink, std::shared_ptr<Clock> clock);

    // "<local time> [DataCollector] <message>", only while logs are enabled.
    void log(std::string_view message) const;
    // Whether log() writes anything now: a line that costs work to build is
    // built only then.
    bool logs() const;
    // A fixed line that is always printed.
    void print(std::string_view line) const;

private:
    std::shared_ptr<ConsoleSink> sink_;
    std::shared_ptr<Clock> clock_;
};

// Standard output, one line at a time.
std::shared_ptr<ConsoleSink> makeStdoutSink();
// Standard error (the platform's system log), one line at a time.
std::shared_ptr<ConsoleSink> makeStderrSink();

}  // namespace quarra
