// Time from authenticateUser to the accepted start-up report, against a
// local HTTPS service playing token, initiate and the collector.
#include <benchmark/benchmark.h>

#include "support/CapturingConsole.hpp"
#include "support/RealSession.hpp"
#include "support/TempDir.hpp"

namespace quarra {
namespace {

void BM_AuthenticateToAcceptedUserData(benchmark::State& state) {
    auto document = CacheManager::defaultConfiguration(BaseUrls::from(ServiceOrigins{}));
    document.data.transactionId = "bench-txn";
    document.data.configuration.dataCollector.featureDetails = {
        FeatureDetails{.apiName = "userData", .enabled = true, .connectionTimeout = 3000}};
    const std::string documentText = document.toJSON().dump();
    testing::HttpsTestServer server({
        {"POST", "/api/accessToken",
         [](const httplib::Request&, httplib::Response& response) {
             response.set_content(R"({"accessToken":"t","refreshToken":"r","tokenType":"Bearer","expiresIn":"60",)"
                                  R"("message":"ok"})",
                                  "application/json");
         }},
        {"POST", "/api/v1/transactions/initiate",
         [&](const httplib::Request&, httplib::Response& response) {
             response.set_content(documentText, "application/json");
         }},
        {"POST", "/api/data/collect/userData",
         [](const httplib::Request&, httplib::Response& response) {
             response.set_content(R"({"ResponseCode":"0"})", "application/json");
         }},
    });
    const auto urls = BaseUrls::from(ServiceOrigins{server.baseUrl(), server.baseUrl(), server.baseUrl(), server.baseUrl()});
    const bool previous = logsEnabled();
    enableLogs(true);  // the acceptance is seen through its console line
    for (auto _ : state) {
        state.PauseTiming();
        testing::TempDir directory;
        auto session = std::make_unique<testing::RealSession>(directory.path(), urls, true);
        state.ResumeTiming();
        session->start->authenticateUser("bench", "secret", "Acme", {});
        if (!session->sink->waitFor("Send user data status: true", std::chrono::seconds(30))) {
            state.SkipWithError("the start-up report was not accepted");
            break;
        }
        state.PauseTiming();
        session.reset();
        state.ResumeTiming();
    }
    enableLogs(previous);
}
BENCHMARK(BM_AuthenticateToAcceptedUserData)->Iterations(20)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace quarra
