#pragma once
// One server log record, as the log endpoint receives it.
#include <cstdint>
#include <optional>
#include <string>

#include <quarra/Json.hpp>

namespace quarra {

struct LogDataModel {
    int64_t logLevel = 0;        // the applied log level, 0 when none
    std::string logMsg;          // the record dictionary as pretty JSON, backslashes removed
    std::string time;            // UTC "yyyy-MM-dd HH:mm:ss.SSS"
    double logTime = 0;          // whole milliseconds since 1970-01-01 UTC
    std::string logDescription;  // the message as given
    std::string apiName;

    bool operator==(const LogDataModel&) const = default;

    // Exactly the six keys above.
    JSONDictionary toJSON() const;
    // Compact JSON text; none when a text is not valid UTF-8.
    std::optional<std::string> jsonText() const;
    // Strict: all six keys, of their JSON types; logLevel a whole number.
    static std::optional<LogDataModel> fromJSON(const JSONDictionary& json);
};

}  // namespace quarra
