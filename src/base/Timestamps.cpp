#include "base/Timestamps.hpp"

#include <ctime>

#include <fmt/format.h>

namespace quarra {
namespace {

std::string format(Clock::TimePoint when, bool utc) {
    using namespace std::chrono;
    auto millis = duration_cast<milliseconds>(when.time_since_epoch()).count();
    auto seconds = static_cast<std::time_t>(millis / 1000);
    auto fraction = millis % 1000;
    if (fraction < 0) {  // before 1970: borrow a second
        fraction += 1000;
        --seconds;
    }
    std::tm parts{};
    if (utc) {
        gmtime_r(&seconds, &parts);
    } else {
        localtime_r(&seconds, &parts);
    }
    return fmt::format("{:04}-{:02}-{:02} {:02}:{:02}:{:02}.{:03}", parts.tm_year + 1900, parts.tm_mon + 1,
                       parts.tm_mday, parts.tm_hour, parts.tm_min, parts.tm_sec, fraction);
}

}  // namespace

std::string formatLocalTimestamp(Clock::TimePoint when) { return format(when, false); }
std::string formatUTCTimestamp(Clock::TimePoint when) { return format(when, true); }

}  // namespace quarra
