#pragma once
// Small scenario pieces for the end-to-end tests.
#include <string>

#include <nlohmann/json.hpp>

namespace quarra::e2e {

inline nlohmann::json scenarioFor(nlohmann::json steps, const std::string& user = "demo",
                                  const std::string& secret = "demo-secret") {
    return {{"user", user}, {"secret", secret}, {"customer", "Corner Shop"}, {"steps", std::move(steps)}};
}

// A user event a tracking button would hand over, told apart by its position.
inline nlohmann::json buttonEvent(const std::string& action, int x) {
    return {{"userEventType", action}, {"duration", "0"},        {"time", "2024-05-01 09:14:11.640"},
            {"pressure", "0.0"},        {"orientation", "portrait"}, {"xposition", std::to_string(x) + ".0"},
            {"yposition", "402.0"}};
}

// A typing report a tracking text field would hand over.
inline nlohmann::json fieldEvent(const std::string& element, int keystrokes) {
    return {{"element", element},      {"time", "2024-05-01 09:14:03.402"}, {"duration", "2870"},
            {"kpm", "188"},            {"keystrokes", std::to_string(keystrokes)}, {"lastAction", "touchscreen"},
            {"firstAction", "touchscreen"}, {"clicks", "1"},                    {"pressure", "0.0"},
            {"orientation", "portrait"}, {"xposition", "112.5"},               {"yposition", "231.0"}};
}

inline nlohmann::json sendStep(const std::string& kind, nlohmann::json event) {
    return {{"do", kind}, {"event", std::move(event)}};
}

}  // namespace quarra::e2e
