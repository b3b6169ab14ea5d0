#include "ConfigurationDocument.hpp"

#include "Identifiers.hpp"

namespace quarra::service {
namespace {

using Json = nlohmann::json;

// The numbers are carried by clients but not applied; these are plausible ones.
Json featureDetails(const FeatureSetting& feature) {
    return {{"apiName", feature.apiName}, {"enabled", feature.enabled}, {"retryCount", 1},
            {"connectionTimeout", 3000},  {"retryInterval", 3000},      {"writeTimeout", 3000},
            {"readTimeout", 3000}};
}

}  // namespace

Json configurationDocument(const SessionRecord& session, const ServiceSettings& settings, const std::string& baseUrl) {
    auto features = Json::array();
    for (const auto& feature : settings.features) features.push_back(featureDetails(feature));
    const auto& flags = settings.flags;
    return {
        {"apiVersion", "1.0"},
        {"time", nowTimestamp()},
        {"data",
         {{"transactionId", session.id},
          {"customerName", session.customerName},
          {"ipAddress", session.remoteAddress},
          {"userAgent", session.userAgent},
          {"configuration",
           {{"dataCollector",
             {{"flags",
               {{"visitorIDExpired", flags.visitorIDExpired},
                {"flushStoredData", flags.flushStoredData},
                {"logLevel", flags.logLevel},
                {"fppenabled", flags.fppenabled},
                {"fpjsapiToken", flags.fpjsapiToken}}},
              {"baseEndPoints",
               {{"baseDcUrl", baseUrl + "/api/data/collect/"},
                {"baseLoggingUrl", baseUrl + "/certification/v1/InsertLogData/"}}},
              {"featureDetails", std::move(features)}}},
            {"threatMetrix", {{"sessionId", session.id}, {"orgId", "quarra-local"}}}}}}},
    };
}

}  // namespace quarra::service
