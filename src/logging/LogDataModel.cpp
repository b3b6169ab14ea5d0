#include "logging/LogDataModel.hpp"

#include "base/JsonText.hpp"

namespace quarra {

JSONDictionary LogDataModel::toJSON() const {
    return JSONDictionary{
        {"logLevel", logLevel},
        {"logMsg", logMsg},
        {"time", time},
        {"logTime", logTime},
        {"logDescription", logDescription},
        {"apiName", apiName},
    };
}

std::optional<std::string> LogDataModel::jsonText() const { return compactJSON(toJSON()); }

std::optional<LogDataModel> LogDataModel::fromJSON(const JSONDictionary& json) {
    if (!json.is_object()) return std::nullopt;
    auto text = [&](const char* key) -> const JSONDictionary* {
        auto found = json.find(key);
        return found != json.end() && found->is_string() ? &*found : nullptr;
    };
    auto level = json.find("logLevel");
    auto logTime = json.find("logTime");
    const auto* logMsg = text("logMsg");
    const auto* time = text("time");
    const auto* description = text("logDescription");
    const auto* apiName = text("apiName");
    if (level == json.end() || !level->is_number_integer() || logTime == json.end() || !logTime->is_number() ||
        !logMsg || !time || !description || !apiName) {
        return std::nullopt;
    }
    return LogDataModel{level->get<int64_t>(),      logMsg->get<std::string>(),      time->get<std::string>(),
                        logTime->get<double>(),     description->get<std::string>(), apiName->get<std::string>()};
}

}  // namespace quarra
