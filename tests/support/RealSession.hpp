#pragma once
// One process's worth of library objects over the real curl client, real
// serial queues and real files: for integration tests and benchmarks.
#include <atomic>
#include <chrono>
#include <future>
#include <memory>
#include <string>

#include <quarra/KeychainWrapper.hpp>

#include "config/CacheManager.hpp"
#include "config/SessionConfigManager.hpp"
#include "config/SessionConfigServices.hpp"
#include "collector/CollectionService.hpp"
#include "collector/SessionStart.hpp"
#include "credentials/AccessTokenService.hpp"
#include "credentials/SqliteSecureItemStore.hpp"
#include <quarra/testing/ManualPathMonitor.hpp>
#include "queue/DataCollectorEventsQueue.hpp"
#include "support/CapturingConsole.hpp"
#include "support/HttpsTestServer.hpp"
#include "support/ServiceHarness.hpp"
#include "transport/RequestsManager.hpp"

namespace quarra::testing {

struct RealSession {
    RealSession(const std::filesystem::path& dataDirectory, const BaseUrls& urls, bool online)
        : baseUrls(urls),
          keychain("it.service", std::nullopt,
                   std::make_shared<SqliteSecureItemStore>(dataDirectory, std::vector<unsigned char>{}, *console)),
          cache(dataDirectory),
          requests(RequestsManager::Dependencies{.session = http,
                                                 .mainExecutor = main,
                                                 .worker = worker,
                                                 .baseUrls = baseUrls,
                                                 .logManager = &logs,
                                                 .sessionConfigManager = &config}),
          queue(makeMemoryEventStore(), console.get()),
          collector(CollectionService::create({&requests, &queue, &config, &logs, console, worker})),
          sessionService(SessionConfigServices::create({&requests, &config, &keychain, &logs, &cache, main, main, console,
                                                        [] { return std::optional<std::string>("VENDOR-1"); }})),
          tokenService(AccessTokenService::create({&requests, &config, &keychain, &logs, sessionService, main,
                                                   [] { return std::vector<std::string>{"lo"}; }})),
          monitor(std::make_shared<ManualPathMonitor>(main, online)),
          start(SessionStart::create({collector, tokenService, sessionService, monitor,
                                      [] {
                                          return DeviceFacts{.systemName = "Debian GNU/Linux",
                                                             .deviceName = "it-host",
                                                             .machineIdentifier = "x86_64",
                                                             .screenWidth = 1280,
                                                             .screenHeight = 800,
                                                             .preferredLanguages = {"en-GB"}};
                                      },
                                      BundleValues{"ItApp", "3.1"}, {}, worker, main, {}})) {}

    // Authenticates and waits for the first session key ("<timed out>" after 20 s).
    std::string authenticate() {
        auto key = std::make_shared<std::promise<std::string>>();
        auto delivered = std::make_shared<std::atomic<bool>>(false);
        start->authenticateUser("alice", "s3cret", "Acme", [key, delivered](const std::string& value) {
            if (!delivered->exchange(true)) key->set_value(value);
        });
        auto future = key->get_future();
        if (future.wait_for(std::chrono::seconds(20)) != std::future_status::ready) return "<timed out>";
        return future.get();
    }

    std::shared_ptr<CapturingConsole> sink = std::make_shared<CapturingConsole>();
    std::shared_ptr<Console> console = std::make_shared<Console>(sink, std::make_shared<SystemClock>());
    std::shared_ptr<HttpClient> http = makeCurlHttpClient(CurlClientOptions{.caFile = testCAFile().string()});
    std::shared_ptr<Executor> main = makeSerialQueue("it-main");
    std::shared_ptr<Executor> worker = makeSerialQueue("it-worker");  // answers, retries, starts
    BaseUrls baseUrls;
    SessionConfigManager config;
    RecordingLogManager logs;
    KeychainWrapper keychain;
    CacheManager cache;
    RequestsManager requests;
    DataCollectorEventsQueue queue;
    std::shared_ptr<CollectionService> collector;
    std::shared_ptr<SessionConfigServices> sessionService;
    std::shared_ptr<AccessTokenService> tokenService;
    std::shared_ptr<ManualPathMonitor> monitor;
    std::shared_ptr<SessionStart> start;
};

}  // namespace quarra::testing
