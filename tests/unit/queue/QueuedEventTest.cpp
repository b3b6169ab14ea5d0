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
