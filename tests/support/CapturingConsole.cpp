#include "support/CapturingConsole.hpp"

#include <algorithm>

namespace quarra::testing {

void CapturingConsole::writeLine(std::string_view line) {
    {
        std::lock_guard lock(mutex_);
        lines_.emplace_back(line);
    }
    changed_.notify_all();
}

bool CapturingConsole::waitFor(std::string_view message, std::chrono::milliseconds limit) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, limit, [&] {
        return std::any_of(lines_.begin(), lines_.end(), [&](const std::string& line) { return line.ends_with(message); });
    });
}

std::vector<std::string> CapturingConsole::lines() const {
    std::lock_guard lock(mutex_);
    return lines_;
}

std::vector<std::string> CapturingConsole::messages() const {
    static const std::string marker = " [DataCollector] ";
    auto result = lines();
    for (auto& line : result) {
        if (auto at = line.find(marker); at != std::string::npos) line = line.substr(at + marker.size());
    }
    return result;
}

bool CapturingConsole::contains(std::string_view message) const {
    auto all = messages();
    return std::find(all.begin(), all.end(), message) != all.end();
}

bool CapturingConsole::mentions(std::string_view text) const {
    auto all = lines();
    return std::any_of(all.begin(), all.end(), [&](const std::string& line) { return line.find(text) != std::string::npos; });
}

void CapturingConsole::clear() {
    std::lock_guard lock(mutex_);
    lines_.clear();
}

ScopedLogs::ScopedLogs(bool enabled) : previous_(logsEnabled()) { enableLogs(enabled); }
ScopedLogs::~ScopedLogs() { enableLogs(previous_); }

}  // namespace quarra::testing
