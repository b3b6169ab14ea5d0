#include "support/ServiceHarness.hpp"

#include "base/JsonText.hpp"

namespace quarra::testing {

ServiceHarness::ServiceHarness()
    : requests(RequestsManager::Dependencies{
          .session = http,
          .mainExecutor = executor,
          .worker = executor,
          .baseUrls = baseUrls,
          .logManager = &logs,
          .sessionConfigManager = &config,
      }),
      queue(makeMemoryEventStore(), console.get()),
      service(CollectionService::create(CollectionService::Dependencies{
          .requestsManager = &requests,
          .queue = &queue,
          .sessionConfigManager = &config,
          .logManager = &logs,
          .console = console,
          .geocoder = geocoder,
      })) {}

void ServiceHarness::enableFeatures(const std::vector<std::string>& names, std::optional<int64_t> logLevel) {
    SessionConfiguration configuration;
    for (const auto& name : names) {
        configuration.apiSetting.push_back(FeatureDetails{.apiName = name,
                                                          .enabled = true,
                                                          .retryCount = 1,
                                                          .connectionTimeout = 3000,
                                                          .retryInterval = 1500,
                                                          .writeTimeout = 3000,
                                                          .readTimeout = 3000});
    }
    configuration.logLevel = logLevel;
    config.replace(std::move(configuration));
}

void ServiceHarness::answerEveryRequestWith(const std::string& code) {
    http->setResponder([code](const HttpRequest&) {
        return SimulatedHttpClient::ok(R"({"ResponseCode":")" + code + R"(","ResponseText":"ok"})");
    });
}

std::vector<JSONDictionary> ServiceHarness::sentBodies() const {
    std::vector<JSONDictionary> bodies;
    for (const auto& request : http->requests()) {
        bodies.push_back(request.body ? parseJSON(*request.body).value_or(JSONDictionary()) : JSONDictionary());
    }
    return bodies;
}

}  // namespace quarra::testing
