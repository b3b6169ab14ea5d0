#include <gtest/gtest.h>

#include "queue/QueuedEvent.hpp"

namespace quarra {
namespace {

using json = JSONDictionary;

QueuedEvent userEvent(json dictionary) {
    return QueuedEvent{DataCollectorAPI::userEventData("userEvents", 3, 0, 0), std::move(dictionary)};
}

struct MatchCase {
    const char* name;
    json queued;  // A: the queued event
    json other;   // B: the event it is compared with
    bool matches;
};

void PrintTo(const MatchCase& c, std::ostream* os) { *os << c.name; }

class Matching : public ::testing::TestWithParam<MatchCase> {};

TEST_P(Matching, FollowsTheQueuedEventsKeys) {
    const auto& c = GetParam();
    EXPECT_EQ(userEvent(c.queued).matches(userEvent(c.other)), c.matches);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Matching,
    ::testing::Values(
        MatchCase{"empty matches anything", json::object(), {{"a", 1}, {"b", "x"}}, true},
        MatchCase{"empty matches empty", json::object(), json::object(), true},
        MatchCase{"equal texts", {{"a", "1"}, {"b", "2"}}, {{"a", "1"}, {"b", "2"}}, true},
        MatchCase{"keys only in the other are ignored", {{"a", "1"}}, {{"a", "1"}, {"b", "2"}}, true},
        MatchCase{"key missing in the other", {{"a", "1"}, {"b", "2"}}, {{"a", "1"}}, false},
        MatchCase{"different text", {{"a", "1"}}, {{"a", "2"}}, false},
        MatchCase{"text against number", {{"a", "1"}}, {{"a", 1}}, false},
        MatchCase{"equal numbers never match", {{"a", 1}}, {{"a", 1}}, false},
        MatchCase{"equal booleans never match", {{"a", true}}, {{"a", true}}, false},
        MatchCase{"equal arrays never match", {{"a", json::array({"x"})}}, {{"a", json::array({"x"})}}, false},
        MatchCase{"null never matches", {{"a", nullptr}}, {{"a", nullptr}}, false},
        MatchCase{"equal text objects", {{"a", {{"k", "v"}}}}, {{"a", {{"k", "v"}}}}, true},
        MatchCase{"empty objects are equal text objects", {{"a", json::object()}}, {{"a", json::object()}}, true},
        MatchCase{"text object with an extra key in the other", {{"a", {{"k", "v"}}}},
                  {{"a", {{"k", "v"}, {"l", "w"}}}}, false},
        MatchCase{"text object against text", {{"a", {{"k", "v"}}}}, {{"a", "v"}}, false},
        MatchCase{"object holding a number", {{"a", {{"k", 1}}}}, {{"a", {{"k", 1}}}}, false},
        MatchCase{"text object missing in the other", {{"a", {{"k", "v"}}}}, json::object(), false},
        MatchCase{"one bad key spoils the rest", {{"a", "1"}, {"n", 2}}, {{"a", "1"}, {"n", 2}}, false}),
    [](const auto& info) { return "case" + std::to_string(info.index); });

TEST(Matching, TheReportCaseIsNotCompared) {
    QueuedEvent queued{DataCollectorAPI::activityStreamData("activityStream", 0, 0, 0), {{"tag", "Password"}}};
    EXPECT_TRUE(queued.matches(userEvent({{"tag", "Password"}})));
}

}  // namespace
}  // namespace quarra

namespace quarra {
namespace {

// Rows come back from disk: a row that decodes must be one we could have
// written, and one we wrote must come back whole.
TEST(QueuedEventRows, DecodeOnlyWhatCouldHaveBeenWritten) {
    const std::string fields = R"("event":{"event":"tap"},"key":"K","path":"userEvents","retryCount":1,)"
                               R"("retryInterval":1,"timeout":3)";
    struct Case {
        const char* name;
        std::string row;
        bool decodes;
    };
    const Case cases[] = {
        {"a row as written", R"({"case":"userEventData","createdAtMs":1700000000000,)" + fields + "}", true},
        {"a time past what the clock holds", R"({"case":"userEventData","createdAtMs":16299994500000,)" + fields + "}",
         false},
        {"a time far before 1970", R"({"case":"userEventData","createdAtMs":-16299994500000,)" + fields + "}", false},
        {"a time that is not a whole number", R"({"case":"userEventData","createdAtMs":1.5,)" + fields + "}", false},
        {"no time", R"({"case":"userEventData",)" + fields + "}", false},
        {"a request that is not a report", R"({"case":"sendDataAccessToken","createdAtMs":1,)" + fields + "}", false},
        {"not an object", "[]", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto decoded = decodeQueuedEvent(c.row);
        ASSERT_EQ(decoded.has_value(), c.decodes);
        if (!decoded) continue;
        auto written = encodeQueuedEvent(*decoded);
        ASSERT_TRUE(written.has_value());
        auto again = decodeQueuedEvent(*written);
        ASSERT_TRUE(again.has_value());
        EXPECT_EQ(again->createdAt, decoded->createdAt);
        EXPECT_EQ(again->idempotencyKey, "K");
        EXPECT_EQ(again->event, decoded->event);
    }
}

}  // namespace
}  // namespace quarra
