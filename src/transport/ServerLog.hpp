#pragma once
// Where the transport and the session calls write their "Request",
// "Response" and "Error" records, and the level that decides which are made.
// The logging subsystem implements the sink and the configuration holder the
// level; the composition root plugs them in.
#include <cstdint>
#include <optional>
#include <string>

namespace quarra {

class ServerLog {
public:
    virtual ~ServerLog() = default;
    // One record; never waits for the network. Any thread.
    virtual void log(const std::string& apiName, const std::string& type, const std::string& message) = 0;
};

class LogLevelSource {
public:
    virtual ~LogLevelSource() = default;
    // The applied configuration's level; nullopt while none is applied. Any thread.
    virtual std::optional<int64_t> logLevel() const = 0;
};

// 2 gives "Request", "Response" and "Error" records; 0 and 1 "Error" only.
inline bool logsErrors(const std::optional<int64_t>& level) { return level && *level >= 0 && *level <= 2; }
inline bool logsRequests(const std::optional<int64_t>& level) { return level == 2; }

}  // namespace quarra
