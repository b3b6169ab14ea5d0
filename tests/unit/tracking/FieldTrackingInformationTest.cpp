#include <gtest/gtest.h>

#include "base/Timestamps.hpp"
#include "tracking/FieldTrackingInformation.hpp"

namespace quarra {
namespace {

using namespace std::chrono_literals;

const Clock::TimePoint kBegin{std::chrono::seconds(1'700'000'000) + 123ms};

FieldTrackingInformation record(std::chrono::microseconds elapsed, int64_t changes, int64_t taps,
                                UserEventType event = UserEventType::None) {
    return FieldTrackingInformation{
        .timeSpentBeginDate = kBegin,
        .timeSpentEndDate = kBegin + elapsed,
        .typingSpeedEndDate = kBegin + elapsed,
        .numberOfTaps = taps,
        .numberOfCharsTyped = changes,
        .fieldTagString = "Password",
        .userEvent = event,
        .oriantation = "portrait",
        .touchForce = "0.5",
        .xPosition = "12.5",
        .yPosition = "30.0",
    };
}

TEST(FieldTrackingInformationTest, DurationKeysPerMinuteAndClicks) {
    struct Case {
        std::chrono::microseconds elapsed;
        int64_t changes;
        int64_t taps;
        std::string duration, kpm, keystrokes, clicks;
    };
    const Case cases[] = {
        {2500ms, 5, 1, "2500", "120", "5", "1"},
        {10s, 0, 1, "10000", "0", "0", "1"},       // no typing
        {1234900us, 3, 0, "1234", "146", "3", "1"},  // truncated, rounded
        {1s, 1, 2, "1000", "60", "1", "1"},
        {1s, 1, 3, "1000", "60", "1", "2"},
        {1s, 1, 7, "1000", "60", "1", "6"},
        {90s, 1, 1, "90000", "1", "1", "1"},       // 0.67 rounds up
        {0s, 4, 1, "0", "inf", "4", "1"},          // zero-length period
        {0s, 0, 1, "0", "nan", "0", "1"},
    };
    for (const auto& c : cases) {
        auto d = record(c.elapsed, c.changes, c.taps).dictionaryRepresentation();
        SCOPED_TRACE(c.elapsed.count());
        EXPECT_EQ(d["duration"], c.duration);
        EXPECT_EQ(d["kpm"], c.kpm);
        EXPECT_EQ(d["keystrokes"], c.keystrokes);
        EXPECT_EQ(d["clicks"], c.clicks);
    }
}

TEST(FieldTrackingInformationTest, TwelveStringEntriesWithoutAUserEvent) {
    auto d = record(2500ms, 5, 1).dictionaryRepresentation();
    const JSONDictionary expected = {
        {"element", "Password"},       {"time", formatLocalTimestamp(kBegin)},
        {"duration", "2500"},          {"kpm", "120"},
        {"keystrokes", "5"},           {"lastAction", "touchscreen"},
        {"firstAction", "touchscreen"}, {"clicks", "1"},
        {"pressure", "0.5"},           {"orientation", "portrait"},
        {"xposition", "12.5"},         {"yposition", "30.0"},
    };
    EXPECT_EQ(d, expected);
    for (const auto& [key, value] : d.items()) EXPECT_TRUE(value.is_string()) << key;
}

TEST(FieldTrackingInformationTest, ACurrentUserEventAddsItsCode) {
    struct Case {
        UserEventType event;
        size_t keys;
        std::optional<std::string> code;
    };
    const Case cases[] = {
        {UserEventType::None, 12, std::nullopt},
        {UserEventType::CheckoutEnter, 13, "13"},
        {UserEventType::LoginEnter, 13, "1"},
        {UserEventType::ForgotPasswordEnter, 13, "3"},
    };
    for (const auto& c : cases) {
        auto d = record(1s, 1, 1, c.event).dictionaryRepresentation();
        EXPECT_EQ(d.size(), c.keys);
        if (c.code) {
            EXPECT_EQ(d["userEventTypeCode"], *c.code);
        } else {
            EXPECT_FALSE(d.contains("userEventTypeCode"));
        }
    }
}

TEST(FieldTrackingInformationTest, ElapsedMillisecondsTruncateTowardZero) {
    EXPECT_EQ(elapsedMilliseconds(kBegin, kBegin + 4999999us), 4999);
    EXPECT_EQ(elapsedMilliseconds(kBegin, kBegin - 1500us), -1);
}

}  // namespace
}  // namespace quarra
