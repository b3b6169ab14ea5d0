#pragma once
// What the service hands out and how it decides, from --config or defaults.
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>
#include <variant>
#include <vector>

#include <nlohmann/json.hpp>

namespace quarra::service {

struct SessionFlags {
    bool visitorIDExpired = false;
    bool flushStoredData = false;
    // 2 produces request, response and error records: the most telling
    // choice for demos and development.
    std::int64_t logLevel = 2;
    bool fppenabled = true;
    std::string fpjsapiToken = "local-demo-key";
};

struct FeatureSetting {
    std::string apiName;
    bool enabled = true;
};

struct ServiceSettings {
    SessionFlags flags;
    std::vector<FeatureSetting> features = defaultFeatures();
    std::chrono::seconds tokenLifetime{3600};
    // Evaluations scoring below this are "Guaranteeable".
    int guaranteeThreshold = 50;

    static std::vector<FeatureSetting> defaultFeatures();
};

// Settings from a JSON document; a message naming the bad key otherwise.
std::variant<ServiceSettings, std::string> settingsFromJson(const nlohmann::json& document);
std::variant<ServiceSettings, std::string> loadSettings(const std::filesystem::path& file);

}  // namespace quarra::service
