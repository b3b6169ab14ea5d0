#include "support/SessionHarness.hpp"

namespace quarra::testing {

SessionHarness::SessionHarness()
    : sessionService(SessionConfigServices::create(SessionConfigServices::Dependencies{
          .requestsManager = &requests,
          .sessionConfigManager = &config,
          .keychain = &keychain,
          .logManager = &logs,
          .cache = &cache,
          .mainExecutor = executor,
          .ioExecutor = executor,
          .console = console,
          .identifierForVendor = [] { return std::optional<std::string>("6F1C0E9A-1B2C-4D3E-8F90-A1B2C3D4E5F6"); },
      })),
      tokenService(AccessTokenService::create(AccessTokenService::Dependencies{
          .requestsManager = &requests,
          .sessionConfigManager = &config,
          .keychain = &keychain,
          .logManager = &logs,
          .sessionService = sessionService,
          .mainExecutor = executor,
          .interfaceNames = [] { return std::vector<std::string>{"lo"}; },
      })) {}

std::string SessionHarness::documentJSON(const std::optional<std::string>& transactionId, int64_t logLevel) {
    auto document = CacheManager::defaultConfiguration(BaseUrls::from(ServiceOrigins{}));
    document.data.transactionId = transactionId;
    document.data.configuration.dataCollector.flags.logLevel = logLevel;
    document.data.configuration.dataCollector.baseEndPoints.baseDcUrl = "https://collector.test/api/data/collect/";
    document.data.configuration.dataCollector.baseEndPoints.baseLoggingUrl = "https://logs.test/InsertLogData/";
    document.data.configuration.dataCollector.featureDetails = {
        FeatureDetails{.apiName = "userData", .enabled = true, .connectionTimeout = 3000},
        FeatureDetails{.apiName = "userEvents", .enabled = true, .connectionTimeout = 3000},
        FeatureDetails{.apiName = "InsertLogData", .enabled = true},
    };
    return document.toJSON().dump();
}

std::string SessionHarness::tokenJSON(const std::string& accessToken, const std::string& refreshToken) {
    return JSONDictionary{{"accessToken", accessToken},
                          {"refreshToken", refreshToken},
                          {"tokenType", "Bearer"},
                          {"expiresIn", "3600"},
                          {"message", "ok"}}
        .dump();
}

}  // namespace quarra::testing
