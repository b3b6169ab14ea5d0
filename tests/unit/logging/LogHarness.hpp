#pragma once
// A log manager and upload utility on the real transport, with a simulated
// HTTP client, a manual executor, an in-memory secure store and fixed device facts.
#include <memory>
#include <optional>
#include <string>

#include <quarra/KeychainWrapper.hpp>

#include "config/SessionConfigManager.hpp"
#include "base/ConsoleLog.hpp"
#include <quarra/testing/MemorySecureItemStore.hpp>
#include "logging/LogManager.hpp"
#include "logging/ServerLogUtility.hpp"
#include <quarra/testing/FixedDeviceInfo.hpp>
#include <quarra/testing/ManualExecutor.hpp>
#include <quarra/testing/SimulatedHttpClient.hpp>
#include "support/CapturingConsole.hpp"
#include "transport/RequestsManager.hpp"

namespace quarra::testing {

inline constexpr const char* kLogBaseUrl = "https://logs.quarra.test/certification/v1/InsertLogData/";

struct LogHarness {
    explicit LogHarness(FixedDeviceInfo::Facts facts = {})
        : device(std::move(facts)),
          requests(RequestsManager::Dependencies{
              .session = http,
              .mainExecutor = executor,
              .worker = executor,
              .baseUrls = BaseUrls::from(ServiceOrigins{}),
              .logManager = &logs,
              .sessionConfigManager = &config,
          }),
          uploader(ServerLogUtility::Dependencies{
              .requestsManager = &requests,
              .sessionConfigManager = &config,
              .console = console,
          }),
          logs(LogManager::Dependencies{
              .sessionConfigManager = &config,
              .keychain = &keychain,
              .deviceInfo = &device,
              .serverLogUtility = &uploader,
              .clock = clock,
          }) {
        requests.setLogBaseUrl(kLogBaseUrl);
        http->setResponder([](const HttpRequest&) {
            return SimulatedHttpClient::ok(R"({"ResponseCode":"0","ResponseText":"stored"})");
        });
    }

    // Applies a configuration: the log level, the "InsertLogData" settings
    // (absent: only another feature is configured) and the session key.
    void apply(std::optional<int64_t> level, std::optional<bool> insertLogData = true,
               std::optional<std::string> sessionKey = std::string("SK-1")) {
        SessionConfiguration configuration;
        configuration.apiSetting.push_back(FeatureDetails{.apiName = "userData", .enabled = true});
        if (insertLogData) {
            configuration.apiSetting.push_back(FeatureDetails{.apiName = "InsertLogData", .enabled = *insertLogData});
        }
        configuration.logLevel = level;
        configuration.sessionKey = std::move(sessionKey);
        config.replace(std::move(configuration));
    }

    // Every scripted answer, retry pause included, is delivered.
    void settle() { executor->advance(std::chrono::seconds(30)); }

    // 2023-11-14 22:13:20.123987 UTC.
    std::shared_ptr<FakeClock> clock =
        std::make_shared<FakeClock>(Clock::TimePoint(std::chrono::microseconds(1'700'000'000'123'987)));
    std::shared_ptr<ManualExecutor> executor = std::make_shared<ManualExecutor>(clock);
    std::shared_ptr<SimulatedHttpClient> http = std::make_shared<SimulatedHttpClient>(executor);
    std::shared_ptr<CapturingConsole> sink = std::make_shared<CapturingConsole>();
    std::shared_ptr<Console> console = std::make_shared<Console>(sink, clock);
    SessionConfigManager config;
    std::shared_ptr<MemorySecureItemStore> store = std::make_shared<MemorySecureItemStore>();
    KeychainWrapper keychain{"net.quarra.test", std::nullopt, store};
    FixedDeviceInfo device;
    RequestsManager requests;
    ServerLogUtility uploader;
    LogManager logs;
};

}  // namespace quarra::testing
