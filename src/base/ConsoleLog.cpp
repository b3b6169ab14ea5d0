#include "base/ConsoleLog.hpp"

#include <atomic>
#include <cstdio>
#include <mutex>
#include <string>

#include "base/Timestamps.hpp"

namespace quarra {
namespace {

std::atomic<bool> gLogsEnabled{false};

// Whole lines to one of the standard streams, never interleaved.
class StreamSink final : public ConsoleSink {
public:
    explicit StreamSink(std::FILE* stream) : stream_(stream) {}
    void writeLine(std::string_view line) override {
        std::lock_guard lock(mutex_);
        std::fwrite(line.data(), 1, line.size(), stream_);
        std::fputc('\n', stream_);
        std::fflush(stream_);
    }

private:
    std::FILE* stream_;
    std::mutex mutex_;
};

}  // namespace

void enableLogs(bool enabled) { gLogsEnabled.store(enabled, std::memory_order_relaxed); }
bool logsEnabled() { return gLogsEnabled.load(std::memory_order_relaxed); }

Console::Console(std::shared_ptr<ConsoleSink> sink, std::shared_ptr<Clock> clock)
    : sink_(std::move(sink)), clock_(std::move(clock)) {}

void Console::log(std::string_view message) const {
    if (!logsEnabled()) return;
    std::string line = formatLocalTimestamp(clock_->now());
    line += " [DataCollector] ";
    line += message;
    sink_->writeLine(line);
}

bool Console::logs() const { return logsEnabled(); }

void Console::print(std::string_view line) const { sink_->writeLine(line); }

std::shared_ptr<ConsoleSink> makeStdoutSink() { return std::make_shared<StreamSink>(stdout); }

std::shared_ptr<ConsoleSink> makeStderrSink() { return std::make_shared<StreamSink>(stderr); }

}  // namespace quarra
