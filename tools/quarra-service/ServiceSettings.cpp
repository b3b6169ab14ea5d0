#include "ServiceSettings.hpp"

#include <algorithm>
#include <fstream>
#include <limits>
#include <sstream>

namespace quarra::service {
namespace {

using Json = nlohmann::json;

constexpr std::int64_t kLongestTokenLifetime = 10LL * 365 * 24 * 3600;

// A whole JSON number that a signed 64-bit value holds.
bool isInt64(const Json& value) {
    if (value.is_number_unsigned()) {
        return value.get<std::uint64_t>() <= static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
    }
    return value.is_number_integer();
}

std::string readBool(const Json& object, const char* key, bool& into) {
    if (!object.contains(key)) return {};
    if (!object[key].is_boolean()) return std::string("flags.") + key + " must be true or false";
    into = object[key].get<bool>();
    return {};
}

std::string readFlags(const Json& flags, SessionFlags& into) {
    if (!flags.is_object()) return "flags must be an object";
    for (const auto& [key, value] : flags.items()) {
        static const char* known[] = {"visitorIDExpired", "flushStoredData", "logLevel", "fppenabled", "fpjsapiToken"};
        if (std::find(std::begin(known), std::end(known), key) == std::end(known)) return "unknown flag: " + key;
    }
    for (auto problem : {readBool(flags, "visitorIDExpired", into.visitorIDExpired),
                         readBool(flags, "flushStoredData", into.flushStoredData),
                         readBool(flags, "fppenabled", into.fppenabled)}) {
        if (!problem.empty()) return problem;
    }
    if (flags.contains("logLevel")) {
        if (!isInt64(flags["logLevel"])) return "flags.logLevel must be a whole number";
        into.logLevel = flags["logLevel"].get<std::int64_t>();
    }
    if (flags.contains("fpjsapiToken")) {
        if (!flags["fpjsapiToken"].is_string()) return "flags.fpjsapiToken must be a string";
        into.fpjsapiToken = flags["fpjsapiToken"].get<std::string>();
    }
    return {};
}

// Known names switch a built-in feature; other names add a feature record.
std::string readFeatures(const Json& features, std::vector<FeatureSetting>& into) {
    if (!features.is_object()) return "features must be an object of name: true/false";
    for (const auto& [name, enabled] : features.items()) {
        if (!enabled.is_boolean()) return "features." + name + " must be true or false";
        if (name.empty()) return "feature names must not be empty";
        auto it = std::find_if(into.begin(), into.end(), [&](const FeatureSetting& f) { return f.apiName == name; });
        if (it != into.end()) {
            it->enabled = enabled.get<bool>();
        } else {
            into.push_back({name, enabled.get<bool>()});
        }
    }
    return {};
}

std::string readInteger(const Json& document, const char* key, std::int64_t low, std::int64_t high,
                        std::int64_t& into) {
    if (!document.contains(key)) return {};
    const auto& value = document[key];
    if (!isInt64(value) || value.get<std::int64_t>() < low || value.get<std::int64_t>() > high) {
        return std::string(key) + " must be a whole number from " + std::to_string(low) + " to " +
               std::to_string(high);
    }
    into = value.get<std::int64_t>();
    return {};
}

}  // namespace

std::vector<FeatureSetting> ServiceSettings::defaultFeatures() {
    return {{"userData"},          {"userLocation"},   {"userEvents"},   {"activityStream"},
            {"accelerometerData"}, {"fingerprintPro"}, {"InsertLogData"}};
}

std::variant<ServiceSettings, std::string> settingsFromJson(const Json& document) {
    if (!document.is_object()) return std::string("the settings must be a JSON object");
    ServiceSettings settings;
    for (const auto& [key, value] : document.items()) {
        std::string problem;
        if (key == "flags") {
            problem = readFlags(value, settings.flags);
        } else if (key == "features") {
            problem = readFeatures(value, settings.features);
        } else if (key == "tokenLifetimeSeconds") {
            std::int64_t seconds = settings.tokenLifetime.count();
            problem = readInteger(document, "tokenLifetimeSeconds", 1, kLongestTokenLifetime, seconds);
            settings.tokenLifetime = std::chrono::seconds(seconds);
        } else if (key == "guaranteeThreshold") {
            std::int64_t threshold = settings.guaranteeThreshold;
            problem = readInteger(document, "guaranteeThreshold", 0, 101, threshold);
            settings.guaranteeThreshold = static_cast<int>(threshold);
        } else {
            problem = "unknown key: " + key;
        }
        if (!problem.empty()) return problem;
    }
    return settings;
}

std::variant<ServiceSettings, std::string> loadSettings(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return "cannot read " + file.string();
    std::stringstream text;
    text << in.rdbuf();
    auto document = Json::parse(text.str(), nullptr, /*allow_exceptions=*/false);
    if (document.is_discarded()) return file.string() + " is not valid JSON";
    auto settings = settingsFromJson(document);
    if (auto* problem = std::get_if<std::string>(&settings)) return file.string() + ": " + *problem;
    return settings;
}

}  // namespace quarra::service
