// Malformed scenarios, command lines and requests: a clear message, the
// documented exit code, and neither process falls over.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "CliProcess.hpp"
#include "LocalService.hpp"
#include "ScenarioBuilders.hpp"
#include "StoredReports.hpp"

namespace quarra::e2e {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

const std::string kNowhere = "https://127.0.0.1:9";

Json amount(double value) { return {{"amount", value}, {"currencyCode", "EUR"}}; }

Json order(Json changes) {
    Json step = {{"do", "completeTransactionPostAuth"},
                 {"customData", Json::array()},
                 {"uniqueCartID", "cart-1"},
                 {"orderNumber", "ORD-1"},
                 {"customerOrderStatus", "Placed"},
                 {"totalAmount", amount(10)},
                 {"discountAmount", amount(0)},
                 {"payment", {{"creditCards", Json::array()}, {"payPal", Json::array()}}},
                 {"shiping", Json::array()},
                 {"authType", "PreAuth"}};
    step.update(changes);
    return step;
}

std::string withSteps(Json steps) { return scenarioFor(std::move(steps)).dump(); }

struct MalformedScenario {
    std::string text;
    std::string message;
};

TEST(MalformedInputTest, MalformedScenariosAreRefusedBeforeAnyStepRuns) {
    const std::vector<MalformedScenario> cases{
        {R"({"user": "demo", )", "scenario: not valid JSON (parse error at line 1, column"},
        {R"([])", "scenario: must be a JSON object"},
        {R"({"user": "demo", "customer": "c", "steps": []})", "scenario: \"secret\" is missing (a text)"},
        {R"({"user": "demo", "secret": 5, "customer": "c", "steps": []})", "scenario: \"secret\" must be a text, not a number"},
        {R"({"user": "d", "secret": "s", "customer": "c", "steps": {}})", "scenario: \"steps\" must be an array, not an object"},
        {R"({"user": "d", "secret": "s", "customer": "c", "steps": [], "stepz": []})", "scenario: unknown key \"stepz\""},
        {withSteps({1}), "step 1: must be an object with a \"do\" key, not 1"},
        {withSteps({{{"event", Json::object()}}}), "step 1: \"do\" is missing"},
        {withSteps({{{"do", "authenticate"}}, {{"do", "fly"}}}), "step 2: unknown step \"fly\""},
        {withSteps({{{"do", "authenticate"}}, {{"do", "wait"}, {"ms", 1}}, {{"do", "location"}, {"latitude", "48.8"}, {"longitude", 2.3}}}),
         "step 3 (\"location\"): \"latitude\" must be a number, not a text"},
        {withSteps({{{"do", "location"}, {"latitude", 91}, {"longitude", 2.3}}}),
         "step 1 (\"location\"): \"latitude\" must be a number from -90 to 90, not 91"},
        {withSteps({{{"do", "authenticate"}, {"timeoutMs", 0}}}),
         "step 1 (\"authenticate\"): \"timeoutMs\" must be a whole number from 1 to 3600000, not 0"},
        {withSteps({{{"do", "wait"}, {"ms", 1.5}}}), "step 1 (\"wait\"): \"ms\" must be a whole number"},
        {withSteps({{{"do", "wait"}, {"msec", 5}}}), "step 1 (\"wait\"): \"ms\" is missing"},
        {withSteps({{{"do", "drain"}, {"timeout", 5}}}), "step 1 (\"drain\"): unknown key \"timeout\""},
        {withSteps({{{"do", "userEvents"}, {"event", Json::array()}}}),
         "step 1 (\"userEvents\"): \"event\" must be an object, not an array"},
        {withSteps({{{"do", "ignoreDataCollection"}, {"value", "yes"}}}),
         "step 1 (\"ignoreDataCollection\"): \"value\" must be true or false, not a text"},
        {withSteps({{{"do", "transactionEvent"}, {"productCode", "SKU"}, {"quantity", "2"}}}),
         "step 1 (\"transactionEvent\"): \"quantity\" must be a whole number"},
        {withSteps({order({{"authType", "OneStepPostAuth"}})}),
         "step 1 (\"completeTransactionPostAuth\"): \"authType\" must be one of \"PreAuth\", \"PreAndPostAuth\", "
         "\"OneStepPostAut\", \"Undefined\", not \"OneStepPostAuth\""},
        {withSteps({order({{"totalAmount", {{"amount", 10}}}})}),
         "step 1 (\"completeTransactionPostAuth\"): \"totalAmount\" must be an amount"},
        {withSteps({order({{"shiping", {{{"carrier", "x"}}}}})}),
         "step 1 (\"completeTransactionPostAuth\"): \"shiping\" item 1 must be a shipment"},
        {withSteps({{{"do", "cancelOrder"}, {"orderNumber", "ORD-1"}}}),
         "step 1 (\"cancelOrder\"): \"paymentStatus\" is missing"},
        {std::string(200, '[') + std::string(200, ']'), "scenario: nests deeper than 64 levels"},
    };
    testing::TempDir directory;
    for (const auto& malformed : cases) {
        SCOPED_TRACE(malformed.text.substr(0, 200));
        auto path = writeScenario(directory.path(), "malformed.json", malformed.text);
        auto run = runCli({"run", path.string(), "--platform-url", kNowhere, "--collector-url", kNowhere,
                           "--network", "manual", "--data-dir", (directory.path() / "client").string()},
                          directory.path());
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_TRUE(run.rawLines.empty()) << "no step may run";
        EXPECT_THAT(run.errorOutput, HasSubstr(malformed.message));
        EXPECT_THAT(run.errorOutput, Not(HasSubstr("Sanitizer")));
    }
}

struct BadCommandLine {
    std::vector<std::string> arguments;
    std::string message;
};

TEST(MalformedInputTest, BadCommandLinesExitWithUsage) {
    testing::TempDir directory;
    auto scenario = writeScenario(directory.path(), "ok.json", withSteps({{{"do", "network"}, {"satisfied", true}}}));
    const std::vector<BadCommandLine> cases{
        {{}, "no command given"},
        {{"play", scenario.string()}, "unknown command \"play\""},
        {{"run"}, "run needs a scenario file"},
        {{"run", (directory.path() / "missing.json").string()}, "missing.json: no such file"},
        {{"run", scenario.string(), "--network", "wifi"}, "--network: must be system or manual, not \"wifi\""},
        {{"run", scenario.string(), "--collector-url", "http://127.0.0.1:8080"},
         "--collector-url: must be an https origin"},
        {{"run", scenario.string(), "--platform-url"}, "--platform-url"},
        {{"run", scenario.string(), "--verbose"}, "--verbose"},
        {{"run", scenario.string(), "other.json"}, "other.json"},
        // A network step cannot switch the system's own monitor.
        {{"run", scenario.string()}, "step 1 (\"network\"): needs --network manual"},
        {{"run", scenario.string(), "--network", "manual", "--ca-file", (directory.path() / "none.pem").string()},
         "none.pem: cannot be read"},
        {{"summary"}, "--service-url is required"},
    };
    for (const auto& bad : cases) {
        SCOPED_TRACE(::testing::PrintToString(bad.arguments));
        auto run = runCli(bad.arguments, directory.path());
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_TRUE(run.rawLines.empty());
        EXPECT_THAT(run.errorOutput, HasSubstr(bad.message));
    }
}

struct RawRequest {
    std::string method;
    std::string path;
    std::string body;
    std::string contentType;
    int status;
};

// --help describes every flag of both commands; --version names the library's.
TEST(MalformedInputTest, HelpAndVersionDescribeTheTool) {
    testing::TempDir directory;
    auto help = runCli({"--help"}, directory.path());
    EXPECT_EQ(help.exitCode, 0) << help.errorOutput;
    std::string text;
    for (const auto& line : help.rawLines) text += line + "\n";
    for (const char* flag : {"run", "summary", "--platform-url", "--collector-url", "--certification-url",
                             "--log-url", "--ca-file", "--data-dir", "--network", "--sensors", "--logs",
                             "--service-url", "--version"}) {
        EXPECT_THAT(text, HasSubstr(flag));
    }
    auto version = runCli({"--version"}, directory.path());
    EXPECT_EQ(version.exitCode, 0);
    ASSERT_EQ(version.rawLines.size(), 1u);
    EXPECT_THAT(version.rawLines[0], ::testing::StartsWith("quarra-cli 0."));
}

TEST(MalformedInputTest, ServiceAnswersMalformedRequestsAndKeepsServingTheSession) {
    LocalService service;
    ASSERT_TRUE(service.started()) << service.startupProblem();
    const std::vector<RawRequest> requests{
        {"POST", "/api/data/collect/userEvents", "{\"events\": [", "application/json", 400},
        {"POST", "/certification/v1/InsertLogData/", "[1, 2]", "application/json", 400},
        {"POST", "/api/data/collect/activityStream", "{}", "text/plain", 415},
        {"POST", "/api/accessToken", "{}", "application/json", 401},
        {"POST", "/api/data/collect/userEvents", std::string(2 * 1024 * 1024, ' '), "application/json", 413},
        {"PUT", "/api/v1/transactions/evaluate/x", "{}", "application/json", 405},
        {"GET", "/nowhere", "", "", 404},
        {"POST", "/admin/faults", "{\"path\": \"nope\"}", "application/json", 400},
    };
    for (const auto& request : requests) {
        SCOPED_TRACE(request.method + " " + request.path);
        auto answer = service.send(request.method, request.path, request.body, request.contentType);
        ASSERT_TRUE(answer.delivered);
        EXPECT_EQ(answer.status, request.status);
        EXPECT_TRUE(answer.body.is_object()) << "every error has a JSON body";
    }

    // A failing transaction platform reaches the host as a text, and the session goes on.
    ASSERT_TRUE(service.addFault({{"path", "/api/v1/transactions/transactionStatus"}, {"httpStatus", 503}, {"count", 1}}));
    const auto event = buttonEvent("LoginAttempt", 42);
    auto scenario = scenarioFor({{{"do", "authenticate"}, {"timeoutMs", 20000}},
                                 {{"do", "cancelOrder"}, {"paymentStatus", "Refunded"}, {"orderNumber", "ORD-9"},
                                  {"orderStatus", "Cancelled"}, {"comments", ""}},
                                 sendStep("userEvents", event),
                                 {{"do", "drain"}}});
    auto path = writeScenario(service.workDirectory(), "session.json", scenario.dump());
    auto run = runCli(service.runArguments(path, service.workDirectory() / "client"), service.workDirectory());
    ASSERT_EQ(run.exitCode, 0) << run.errorOutput;
    EXPECT_EQ(run.step(2)["result"], "Injected fault");
    EXPECT_EQ(run.step(3)["result"], true);
    EXPECT_THAT(run.errorOutput, Not(HasSubstr("Sanitizer")));
    auto detail = service.session(run.step(1)["result"].get<std::string>());
    EXPECT_EQ(copiesOf(storedReports(detail, "events"), event), 1);
    EXPECT_TRUE(service.running());
}

}  // namespace
}  // namespace quarra::e2e
