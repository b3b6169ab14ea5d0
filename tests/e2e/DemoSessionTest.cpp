// The shipped demo scenario, played by quarra-cli against quarra-service:
// every step answers as a host expects and everything arrives complete.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "CliProcess.hpp"
#include "LocalService.hpp"
#include "StoredReports.hpp"

namespace quarra::e2e {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

Json loadDemoScenario() {
    std::ifstream in(std::string(QUARRA_EXAMPLES_DIR) + "/demo-session.json");
    std::stringstream text;
    text << in.rdbuf();
    return Json::parse(text.str(), nullptr, /*allow_exceptions=*/false);
}

// The events of the scenario's steps of one kind, in order.
std::vector<Json> scenarioEvents(const Json& scenario, const std::string& kind) {
    std::vector<Json> events;
    for (const auto& step : scenario["steps"]) {
        if (step["do"] == kind) events.push_back(step["event"]);
    }
    return events;
}

TEST(DemoSessionTest, EveryStepAnswersAndEverythingArrivesComplete) {
    auto scenario = loadDemoScenario();
    ASSERT_TRUE(scenario.is_object()) << "examples/demo-session.json is not JSON";
    LocalService service;
    ASSERT_TRUE(service.started()) << service.startupProblem();

    auto run = runCli(service.runArguments(std::string(QUARRA_EXAMPLES_DIR) + "/demo-session.json",
                                           service.workDirectory() / "client"),
                      service.workDirectory());
    ASSERT_EQ(run.exitCode, 0) << run.errorOutput;
    EXPECT_THAT(run.errorOutput, Not(HasSubstr("Sanitizer")));

    // Standard output is nothing but one JSON line per step, in order.
    const auto& steps = scenario["steps"];
    ASSERT_EQ(run.lines.size(), steps.size()) << run.errorOutput;
    for (std::size_t i = 0; i < steps.size(); ++i) {
        SCOPED_TRACE(run.rawLines[i]);
        ASSERT_TRUE(run.lines[i].is_object());
        EXPECT_EQ(run.lines[i]["step"], i + 1);
        EXPECT_EQ(run.lines[i]["do"], steps[i]["do"]);
        EXPECT_TRUE(run.lines[i]["ms"].is_number_integer());
        EXPECT_FALSE(run.lines[i].contains("timedOut"));
    }

    const std::string sessionKey = run.step(1)["result"].get<std::string>();
    ASSERT_FALSE(sessionKey.empty());
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const std::string kind = steps[i]["do"];
        const auto& result = run.lines[i]["result"];
        SCOPED_TRACE(run.rawLines[i]);
        if (kind == "userEvents" || kind == "activityStream" || kind == "accelerometer" || kind == "location" ||
            kind == "drain") {
            EXPECT_EQ(result, true);
        } else if (kind == "transactionEvent" || kind == "completeTransactionPostAuthFallowedByPreAuth") {
            EXPECT_EQ(result, sessionKey);  // the platform answers with the session's transaction identifier
        } else if (kind == "cancelOrder") {
            EXPECT_EQ(result, "Cancelled");
        }
    }
    // The library's fixed lines went to standard error, not between the step lines.
    EXPECT_THAT(run.errorOutput, HasSubstr("TransactionID ==  " + sessionKey));
    EXPECT_THAT(run.errorOutput, HasSubstr("SP_ Transaction Canceled for TransactionID == " + sessionKey));

    auto sessions = service.sessions();
    ASSERT_EQ(sessions.size(), 1u);
    EXPECT_EQ(sessions[0]["id"], sessionKey);
    EXPECT_EQ(sessions[0]["account"], scenario["user"]);
    EXPECT_EQ(sessions[0]["customerName"], scenario["customer"]);

    auto detail = service.session(sessionKey);
    for (const auto& [kind, reportKey] : std::vector<std::pair<std::string, std::string>>{
             {"userEvents", "events"}, {"activityStream", "activityStream"}, {"accelerometer", "accelerometerData"}}) {
        SCOPED_TRACE(kind);
        auto sent = scenarioEvents(scenario, kind);
        auto stored = storedReports(detail, reportKey);
        EXPECT_EQ(stored.size(), sent.size());
        for (const auto& event : sent) EXPECT_EQ(copiesOf(stored, event), 1) << event.dump();
    }
    EXPECT_EQ(storedReports(detail, "userData").size(), 1u);
    auto locations = storedReports(detail, "userLocation");
    ASSERT_EQ(locations.size(), 1u);
    EXPECT_EQ(locations[0]["latitude"], "48.8566");
    EXPECT_EQ(locations[0]["longitude"], "2.3522");
    EXPECT_THAT(locations[0]["city"].get<std::string>(), HasSubstr("Paris"));  // the nearest place the geocoder knows
    for (const auto& id : envelopeSessionIds(detail)) EXPECT_EQ(id, sessionKey);

    ASSERT_EQ(detail["transactionEvents"].size(), 1u);
    EXPECT_EQ(detail["transactionEvents"][0]["eventType"], "AddToCart");
    EXPECT_EQ(detail["transactionEvents"][0]["uniqueCartId"], "cart-20240501-0007");
    ASSERT_EQ(detail["transactions"].size(), 1u);
    const auto& order = detail["transactions"][0];
    EXPECT_EQ(order["orderNumber"], "ORD-1001");
    EXPECT_EQ(order["evaluationStep"], "PostAuth");  // the completion that followed a guaranteeable pre-authorisation
    EXPECT_EQ(order["evaluationDecision"], "Guaranteeable");
    EXPECT_EQ(order["status"], "Cancelled");
    EXPECT_EQ(order["paymentStatus"], "Refunded");
}

}  // namespace
}  // namespace quarra::e2e
