#include <gtest/gtest.h>

#include <quarra/tracking/TrackingTextField.hpp>

#include "support/ServiceHarness.hpp"
#include "unit/tracking/TrackingTestContext.hpp"

namespace quarra {
namespace {

using testing::ScopedLogs;

class SecretField final : public TrackingTextField::Host {
public:
    std::string className() const override { return "UITextField"; }
    bool isEditing() const override { return editing; }
    std::string text() const override { return content; }
    bool editing = false;
    std::string content;
};

// Every piece of two or more consecutive typed characters.
std::vector<std::string> fragments(const std::string& secret) {
    std::vector<std::string> result;
    for (size_t i = 0; i + 2 <= secret.size(); ++i) result.push_back(secret.substr(i, 2));
    return result;
}

TEST(TypedTextPrivacyTest, NoTypedCharacterReachesARequestBodyALogRecordOrAConsoleLine) {
    ScopedLogs logs(true);
    testing::ServiceHarness service;
    service.enableFeatures({"activityStream"}, /*logLevel=*/2);
    service.service->setSessionKey("session-1");
    service.answerEveryRequestWith("0");

    testing::TrackingHarness tracking;
    auto context = std::make_shared<TrackingContext>(*tracking.context);
    context->reports = service.service;
    context->mainExecutor = service.executor;
    context->reportExecutor = service.executor;
    context->clock = service.clock;
    context->console = service.console;

    const std::string secret = "Zq7#Wv!k";
    SecretField view;
    TrackingTextField field(view, context);
    field.setFieldTag("Password");
    view.editing = true;
    field.editingDidBegin();
    for (char c : secret) {
        view.content.push_back(c);
        service.clock->advance(std::chrono::milliseconds(300));
        field.textDidChange();
    }
    view.editing = false;
    field.editingDidEnd();
    service.executor->runUntilIdle();

    // The report went all the way out...
    ASSERT_EQ(service.http->requestCount(), 1u);
    const std::string body = service.http->requests()[0].body.value_or("");
    EXPECT_NE(body.find("\"element\":\"Password\""), std::string::npos);
    EXPECT_NE(body.find("\"keystrokes\":\"8\""), std::string::npos);
    EXPECT_FALSE(service.logs.records().empty());
    EXPECT_FALSE(service.sink->lines().empty());

    // ...without any of the typed text.
    std::vector<std::string> everything{body};
    for (const auto& record : service.logs.records()) everything.push_back(record.message);
    for (const auto& line : service.sink->lines()) everything.push_back(line);
    for (const auto& line : tracking.lines->lines()) everything.push_back(line);
    for (const auto& text : everything) {
        for (const auto& piece : fragments(secret)) EXPECT_EQ(text.find(piece), std::string::npos) << text;
    }
    EXPECT_EQ(field.typedSnapshotCount(), 0u);
}

}  // namespace
}  // namespace quarra
