#include <gtest/gtest.h>

#include <quarra/tracking/TrackingPickerView.hpp>

#include "base/Timestamps.hpp"
#include "unit/tracking/TrackingTestContext.hpp"

namespace quarra {
namespace {

using namespace std::chrono_literals;
using testing::ScopedLogs;
using testing::TrackingHarness;

class TrackingPickerViewTest : public ::testing::Test {
protected:
    TrackingHarness h;
    ScopedLogs logs{true};
};

TEST_F(TrackingPickerViewTest, AVisiblePeriodIsReportedOnceWhenHidden) {
    TrackingPickerView picker(h.context);
    picker.setFieldTag("LoginPickerView");
    picker.setHidden(true);
    const auto shown = h.clock->now();
    picker.setHidden(false);
    h.clock->advance(3200ms);
    picker.setHidden(true);
    picker.setHidden(true);  // already closed
    h.run();

    const JSONDictionary expected = {
        {"element", "LoginPickerView"}, {"time", formatLocalTimestamp(shown)}, {"duration", "3200"},
        {"kpm", "0"},                   {"keystrokes", "0"},                   {"lastAction", "touchscreen"},
        {"firstAction", "touchscreen"}, {"clicks", "1"},
    };
    ASSERT_EQ(h.activityStreams().size(), 1u);
    EXPECT_EQ(h.activityStreams()[0], expected);
    EXPECT_TRUE(h.lines->contains("DO== portrait"));
    h.sender->answerAll(false);
    EXPECT_TRUE(h.lines->contains("TrackingPickerView(LoginPickerView) data sent successfully: false"));
}

TEST_F(TrackingPickerViewTest, Periods) {
    struct Step {
        enum { show, hide, add, remove, wait } what;
        std::chrono::milliseconds wait_for{0};
    };
    struct Case {
        std::string name;
        std::vector<Step> steps;
        std::vector<std::string> durations;
    };
    using S = Step;
    const std::vector<Case> cases = {
        {"shown twice, then hidden", {{S::show}, {S::wait, 2s}, {S::show}, {S::wait, 1s}, {S::hide}}, {"1000"}},
        {"added while shown, removed", {{S::add}, {S::wait, 1500ms}, {S::remove}}, {"1500"}},
        {"added while hidden, removed", {{S::hide}, {S::add}, {S::wait, 1s}, {S::remove}}, {}},
        {"removed while closed", {{S::remove}, {S::hide}}, {}},
        {"two periods", {{S::add}, {S::wait, 1s}, {S::hide}, {S::show}, {S::wait, 2s}, {S::remove}}, {"1000", "2000"}},
    };
    for (const auto& c : cases) {
        TrackingHarness local;
        TrackingPickerView picker(local.context);
        picker.setFieldTag("TransferDate");
        for (const auto& step : c.steps) {
            switch (step.what) {
                case Step::show: picker.setHidden(false); break;
                case Step::hide: picker.setHidden(true); break;
                case Step::add: picker.willMoveToSuperview(true); break;
                case Step::remove: picker.willMoveToSuperview(false); break;
                case Step::wait: local.clock->advance(step.wait_for); break;
            }
        }
        local.run();
        std::vector<std::string> durations;
        for (const auto& report : local.activityStreams()) durations.push_back(report["duration"]);
        EXPECT_EQ(durations, c.durations) << c.name;
    }
}

TEST_F(TrackingPickerViewTest, UndefinedStillReportsAndACurrentScreenIsAttached) {
    h.values->currentUserEvent = UserEventType::LoginEnter;
    TrackingPickerView picker(h.context);
    picker.setFieldTag("Undefined");
    picker.willMoveToSuperview(true);
    picker.willMoveToSuperview(false);
    h.run();
    ASSERT_EQ(h.activityStreams().size(), 1u);
    EXPECT_EQ(h.activityStreams()[0]["element"], "Undefined");
    EXPECT_EQ(h.activityStreams()[0]["userEventTypeCode"], "1");
    EXPECT_EQ(h.activityStreams()[0].size(), 9u);
}

TEST_F(TrackingPickerViewTest, AnUnknownTagIsSaidOnceAndNoPeriodIsTracked) {
    TrackingPickerView picker(h.context);
    for (int i = 0; i < 2; ++i) {
        picker.setHidden(false);
        picker.setHidden(true);
    }
    h.run();
    EXPECT_TRUE(h.sender->reports().empty());
    EXPECT_EQ(h.lines->messages(),
              std::vector<std::string>{"Ortex/TrackingPickerView: fieldTag should be something declared in the FieldTags "
                                       "enum, please check FieldTags for more information"});
}

}  // namespace
}  // namespace quarra
