// A session played through the library's own tracking controls (typing,
// taps, a picker, screens) by quarra-cli against quarra-service: each step
// answers as the controls' reports ended, the service stores the reports the
// controls built, and the typed secret is nowhere to be found.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>

#include "CliProcess.hpp"
#include "LocalService.hpp"
#include "ScenarioBuilders.hpp"
#include "StoredReports.hpp"

namespace quarra::e2e {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

// Every pair of neighbouring characters holds a sign that no identifier,
// timestamp or JSON text carries, so any piece found is a leak, not chance.
const std::string kSecret = "S~3^c|r`3~t^P|a`s~s^w|0`r~d~\xC3\xA9";
constexpr int kSecretCharacters = 29;  // the last one takes two bytes

Json touch(double force, double x, double y) { return {{"force", force}, {"x", x}, {"y", y}}; }

Json touchWithDepth() {
    auto value = touch(0.5, 1, 1);
    value["z"] = 1;
    return value;
}

Json trackingScenario() {
    return scenarioFor({
        {{"do", "authenticate"}, {"timeoutMs", 20000}},
        {{"do", "textField"}, {"fieldTag", "Password"}, {"text", kSecret}, {"taps", 2},
         {"touch", touch(0.5, 112.5, 231)}, {"durationMs", 60}},
        {{"do", "textField"}, {"fieldTag", "Passcode"}, {"text", "abc"}},
        {{"do", "textField"}, {"fieldTag", "Undefined"}, {"text", "abc"}},
        {{"do", "textWatcher"}, {"fieldTag", "LoginID"}, {"text", "Zo\xC3\xAB"}, {"durationMs", 30}},
        {{"do", "tapButton"}, {"action", "LoginAttempt"}, {"touch", touch(0.25, 40, 12)}},
        {{"do", "accelerometerSample"}, {"x", 0.0012}, {"y", -0.0105}, {"z", -0.9996}},
        {{"do", "tapButton"}, {"action", "AddToCart"}},
        {{"do", "tapButton"}, {"action", "FlyAway"}},
        {{"do", "picker"}, {"fieldTag", "LoginPickerView"}, {"visibleMs", 40}},
        {{"do", "screen"}, {"className", "LoginViewController"}, {"visibleMs", 30}},
        {{"do", "taggedScreen"}, {"screenTag", "Login"}, {"touch", touch(0.5, 120, 300)}, {"visibleMs", 20}},
        {{"do", "taggedScreen"}, {"screenTag", "Checkout"}, {"base", "table"}, {"visibleMs", 30}},
        {{"do", "taggedScreen"}, {"screenTag", "Undefined"}, {"base", "collection"}, {"visibleMs", 10}},
        {{"do", "drain"}},
    });
}

// What each step's line must say: true when its report was accepted, null
// when the control sent nothing.
const std::vector<Json> kExpectedResults{
    nullptr /* the session key */, true, nullptr, nullptr, true, true, true, true, nullptr, true, true, nullptr,
    true, nullptr, true};

std::vector<Json> withKey(const std::vector<Json>& reports, const std::string& key, const std::string& value) {
    std::vector<Json> found;
    for (const auto& report : reports) {
        if (report.value(key, "") == value) found.push_back(report);
    }
    return found;
}

int64_t whole(const Json& report, const std::string& key) {
    const auto text = report.value(key, "");
    return text.empty() ? -1 : std::stoll(text);
}

// Keys per minute agree with the keystrokes over the period's duration: the
// duration is cut to whole milliseconds, the rate rounded to a whole number.
void expectPlausibleRate(const Json& report) {
    const double keystrokes = static_cast<double>(whole(report, "keystrokes"));
    const double duration = static_cast<double>(whole(report, "duration"));
    ASSERT_GT(duration, 0) << report.dump();
    const double expected = keystrokes * 60000.0 / duration;
    EXPECT_NEAR(static_cast<double>(whole(report, "kpm")), expected, expected / duration + 1.0) << report.dump();
}

std::vector<std::string> piecesOf(const std::string& secret) {
    std::vector<std::string> pieces;
    for (std::size_t i = 0; i + 2 <= secret.size(); ++i) pieces.push_back(secret.substr(i, 2));
    return pieces;
}

TEST(TrackingSessionTest, ControlsReportWhatTheUserDidAndNeverWhatWasTyped) {
    LocalService service;
    ASSERT_TRUE(service.started()) << service.startupProblem();
    auto scenario = writeScenario(service.workDirectory(), "tracking.json", trackingScenario().dump());
    auto arguments = service.runArguments(scenario, service.workDirectory() / "client");
    arguments.insert(arguments.end(), {"--sensors", "scripted"});

    auto run = runCli(arguments, service.workDirectory());
    ASSERT_EQ(run.exitCode, 0) << run.errorOutput;
    EXPECT_THAT(run.errorOutput, Not(HasSubstr("Sanitizer")));
    ASSERT_EQ(run.lines.size(), kExpectedResults.size()) << run.errorOutput;
    const std::string sessionKey = run.step(1).value("result", "");
    ASSERT_FALSE(sessionKey.empty());
    for (std::size_t i = 1; i < kExpectedResults.size(); ++i) {
        SCOPED_TRACE(run.rawLines[i]);
        EXPECT_EQ(run.lines[i]["result"], kExpectedResults[i]);
        EXPECT_FALSE(run.lines[i].contains("timedOut"));
    }
    // The library named what it refused.
    EXPECT_THAT(run.errorOutput, HasSubstr("fieldTag should be something declared in the FieldTags enum"));
    EXPECT_THAT(run.errorOutput, HasSubstr("trackingAction should be something declared in the ButtonTrackingAction"));
    EXPECT_THAT(run.errorOutput, HasSubstr("TrackingTextField fieldTag is \"None\", skip reporting"));
    EXPECT_THAT(run.errorOutput, HasSubstr("TrackingTextField(Password) data sent successfully: true"));

    auto detail = service.session(sessionKey);

    auto fields = storedReports(detail, "activityStream");
    ASSERT_EQ(fields.size(), 3u) << detail.dump();  // the unknown and the undefined tag sent nothing
    auto password = withKey(fields, "element", "Password");
    ASSERT_EQ(password.size(), 1u);
    EXPECT_EQ(whole(password[0], "keystrokes"), kSecretCharacters);  // one per character, not per byte
    EXPECT_EQ(password[0]["clicks"], "2");  // focus counts one, then two taps: clicks are taps - 1
    EXPECT_EQ(password[0]["pressure"], "0.5");
    EXPECT_EQ(password[0]["xposition"], "112.5");
    EXPECT_EQ(password[0]["yposition"], "231.0");
    expectPlausibleRate(password[0]);
    EXPECT_FALSE(password[0].contains("userEventTypeCode"));  // no screen was current yet

    auto login = withKey(fields, "element", "LoginID");
    ASSERT_EQ(login.size(), 1u);
    EXPECT_EQ(whole(login[0], "keystrokes"), 3);
    EXPECT_EQ(login[0]["pressure"], "");  // the watcher has no touch
    EXPECT_EQ(login[0]["orientation"], "");
    expectPlausibleRate(login[0]);

    auto picker = withKey(fields, "element", "LoginPickerView");
    ASSERT_EQ(picker.size(), 1u);
    EXPECT_GT(whole(picker[0], "duration"), 0);
    EXPECT_EQ(picker[0]["kpm"], "0");
    EXPECT_EQ(picker[0]["clicks"], "1");

    auto events = storedReports(detail, "events");
    auto attempt = withKey(events, "userEventType", "LoginAttempt");
    ASSERT_EQ(attempt.size(), 1u);
    EXPECT_EQ(attempt[0]["pressure"], "0.25");
    EXPECT_EQ(attempt[0]["xposition"], "40.0");
    EXPECT_EQ(attempt[0]["yposition"], "12.0");
    EXPECT_EQ(withKey(events, "userEventType", "AddToCart").size(), 1u);
    EXPECT_TRUE(withKey(events, "userEventType", "FlyAway").empty());

    auto enter = withKey(events, "userEventType", "LoginViewController-Enter");
    ASSERT_EQ(enter.size(), 1u);
    EXPECT_EQ(enter[0]["screenName"], "LoginViewController-Enter");
    auto exit = withKey(events, "userEventType", "LoginViewController-Exit");
    ASSERT_EQ(exit.size(), 1u);
    EXPECT_FALSE(exit[0].contains("screenName"));

    // Only the table screen reports: the plain screen base records the touch,
    // and the collection screen has no tag. The touch's force outlives the
    // screen it landed on; its position does not.
    auto checkoutEnter = withKey(events, "userEventType", "13");
    auto checkoutExit = withKey(events, "userEventType", "14");
    ASSERT_EQ(checkoutEnter.size(), 1u);
    ASSERT_EQ(checkoutExit.size(), 1u);
    EXPECT_EQ(checkoutEnter[0]["pressure"], "0.5");
    EXPECT_EQ(checkoutEnter[0]["xposition"], "0.0");
    EXPECT_GT(whole(checkoutExit[0], "duration"), 0);
    EXPECT_TRUE(withKey(events, "userEventType", "1").empty());
    EXPECT_TRUE(withKey(events, "userEventType", "2").empty());

    // The first tap found no reading yet; the second carried the scripted one.
    auto readings = storedReports(detail, "accelerometerData");
    ASSERT_EQ(readings.size(), 1u);
    EXPECT_EQ(readings[0]["xvalue"], "0.0012");
    EXPECT_EQ(readings[0]["yvalue"], "-0.0105");
    EXPECT_EQ(readings[0]["zvalue"], "-0.9996");
    EXPECT_THAT(run.errorOutput, HasSubstr("Return from else"));

    const std::string stored = detail.dump() + service.send("GET", "/admin/logs").body.dump();
    const std::string output = [&] {
        std::string text = run.errorOutput;
        for (const auto& line : run.rawLines) text += line + "\n";
        return text;
    }();
    for (const auto& piece : piecesOf(kSecret)) {
        SCOPED_TRACE(piece);
        EXPECT_THAT(stored, Not(HasSubstr(piece)));
        EXPECT_THAT(output, Not(HasSubstr(piece)));
    }
}

struct MalformedStep {
    Json step;
    std::string message;
    bool scriptedSensors = true;
};

TEST(TrackingSessionTest, MalformedTrackingStepsAreRefusedBeforeAnyStepRuns) {
    const std::vector<MalformedStep> cases{
        {{{"do", "textField"}, {"fieldTag", "Password"}}, "step 1 (\"textField\"): \"text\" is missing (a text)"},
        {{{"do", "textField"}, {"fieldTag", 5}, {"text", "a"}}, "\"fieldTag\" must be a text, not a number"},
        {{{"do", "textField"}, {"fieldTag", "Password"}, {"text", "a"}, {"taps", -1}},
         "\"taps\" must be a whole number from 0 to 10000, not -1"},
        {{{"do", "textField"}, {"fieldTag", "Password"}, {"text", "a"}, {"durationMs", -5}},
         "\"durationMs\" must be a whole number from 0 to 3600000, not -5"},
        {{{"do", "textField"}, {"fieldTag", "Password"}, {"text", "a"}, {"speed", 3}}, "unknown key \"speed\""},
        {{{"do", "textField"}, {"fieldTag", "Password"}, {"text", "a"}, {"touch", {{"force", "hard"}, {"x", 1}, {"y", 1}}}},
         "step 1 (\"textField\") \"touch\": \"force\" must be a number, not a text"},
        {{{"do", "textField"}, {"fieldTag", "Password"}, {"text", "a"}, {"touch", {{"force", -1}, {"x", 1}, {"y", 1}}}},
         "\"touch\": \"force\" must be a number from 0"},
        {{{"do", "textField"}, {"fieldTag", "Password"}, {"text", "a"}, {"touch", touchWithDepth()}},
         "\"touch\": unknown key \"z\""},
        {{{"do", "textWatcher"}, {"fieldTag", "LoginID"}, {"text", {"a"}}},
         "step 1 (\"textWatcher\"): \"text\" must be a text, not an array"},
        {{{"do", "tapButton"}}, "step 1 (\"tapButton\"): \"action\" is missing (a text)"},
        {{{"do", "tapButton"}, {"action", "Search"}, {"touch", Json::array()}},
         "step 1 (\"tapButton\"): \"touch\" must be an object, not an array"},
        {{{"do", "accelerometerSample"}, {"x", 0}, {"y", 0}, {"z", -1}},
         "step 1 (\"accelerometerSample\"): needs --sensors scripted", false},
        {{{"do", "accelerometerSample"}, {"x", "0.1"}, {"y", 0}, {"z", -1}},
         "step 1 (\"accelerometerSample\"): \"x\" must be a number, not a text"},
        {{{"do", "picker"}, {"fieldTag", "LoginPickerView"}, {"visibleMs", -1}},
         "step 1 (\"picker\"): \"visibleMs\" must be a whole number from 0 to 3600000, not -1"},
        {{{"do", "screen"}, {"visibleMs", 10}}, "step 1 (\"screen\"): \"className\" is missing (a text)"},
        {{{"do", "taggedScreen"}, {"screenTag", "Login"}, {"base", "grid"}},
         "\"base\" must be one of \"view\", \"table\", \"collection\", not \"grid\""},
        {{{"do", "taggedScreen"}, {"screenTag", "Login"}, {"base", "table"}, {"touch", touch(0.5, 1, 1)}},
         "step 1 (\"taggedScreen\"): \"touch\" needs \"base\": \"view\""},
        {{{"do", "taggedScreen"}, {"screenTag", "Login"}, {"visibleMs", 1.5}},
         "\"visibleMs\" must be a whole number"},
    };
    testing::TempDir directory;
    const std::string nowhere = "https://127.0.0.1:9";
    for (const auto& malformed : cases) {
        SCOPED_TRACE(malformed.step.dump());
        auto path = writeScenario(directory.path(), "malformed.json", scenarioFor({malformed.step}).dump());
        std::vector<std::string> arguments{"run", path.string(), "--platform-url", nowhere, "--collector-url", nowhere,
                                           "--network", "manual", "--data-dir", (directory.path() / "client").string()};
        if (malformed.scriptedSensors) arguments.insert(arguments.end(), {"--sensors", "scripted"});
        auto run = runCli(arguments, directory.path());
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_TRUE(run.rawLines.empty()) << "no step may run";
        EXPECT_THAT(run.errorOutput, HasSubstr(malformed.message));
    }
    auto ok = writeScenario(directory.path(), "ok.json", scenarioFor(Json::array()).dump());
    auto run = runCli({"run", ok.string(), "--sensors", "wifi"}, directory.path());
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_THAT(run.errorOutput, HasSubstr("--sensors: must be system or scripted, not \"wifi\""));
}

}  // namespace
}  // namespace quarra::e2e
