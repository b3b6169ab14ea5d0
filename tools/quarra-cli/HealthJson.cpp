#include "HealthJson.hpp"

#include <fmt/chrono.h>
#include <fmt/format.h>

namespace quarra::cli {
namespace {

using Health = DataCollectorService::Health;

std::string utcText(std::chrono::system_clock::time_point when) {
    return fmt::format("{:%Y-%m-%dT%H:%M:%S}Z", std::chrono::floor<std::chrono::seconds>(when));
}

const char* sessionName(Health::Session session) {
    switch (session) {
        case Health::Session::offlineFromCache: return "offlineFromCache";
        case Health::Session::online: return "online";
        case Health::Session::none: break;
    }
    return "none";
}

}  // namespace

JSONDictionary healthJson(const Health& health) {
    JSONDictionary json = {
        {"submitted", health.submitted},
        {"restored", health.restored},
        {"accepted", health.accepted},
        {"refused", health.refused},
        {"queued", health.queued},
        {"queuedBytes", health.queuedBytes},
        {"inFlight", health.inFlight},
        {"dropped",
         {{"disabledFeature", health.dropped.disabledFeature},
          {"bound", health.dropped.bound},
          {"age", health.dropped.age},
          {"unreadable", health.dropped.unreadable},
          {"notSerialisable", health.dropped.notSerialisable}}},
        {"resendPasses", health.resendPasses},
        {"session", sessionName(health.session)},
        {"lastError", nullptr},
        {"lastAccepted", nullptr},
    };
    if (health.lastError) {
        json["lastError"] = {{"operation", health.lastError->operation},
                             {"code", health.lastError->code},
                             {"text", health.lastError->text},
                             {"time", utcText(health.lastError->time)}};
    }
    if (health.lastAccepted) json["lastAccepted"] = utcText(*health.lastAccepted);
    return json;
}

}  // namespace quarra::cli
