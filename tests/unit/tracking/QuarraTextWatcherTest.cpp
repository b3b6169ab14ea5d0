#include <gtest/gtest.h>

#include <quarra/tracking/QuarraTextWatcher.hpp>

#include "unit/tracking/TrackingTestContext.hpp"

namespace quarra {
namespace {

using namespace std::chrono_literals;
using testing::ScopedLogs;
using testing::TagHolder;
using testing::TestView;
using testing::TrackingHarness;
using Name = TextEditingNotificationName;

class QuarraTextWatcherTest : public ::testing::Test {
protected:
    void edit(ViewNode& view, bool textView, int changes, std::chrono::milliseconds duration) {
        h.notifications->post({textView ? Name::textViewDidBeginEditing : Name::textFieldDidBeginEditing, &view});
        for (int i = 0; i < changes; ++i) {
            h.notifications->post({textView ? Name::textViewDidChange : Name::textFieldDidChange, &view});
        }
        h.clock->advance(duration);
        h.notifications->post({textView ? Name::textViewDidEndEditing : Name::textFieldDidEndEditing, &view});
        h.run();
    }

    TrackingHarness h;
    ScopedLogs logs{true};
};

TEST_F(QuarraTextWatcherTest, FindsTheTagOnTheViewOrItsNearestAdoptingAncestor) {
    struct Case {
        std::string name;
        int adopterDepth;  // 0: the edited view itself; -1: none
        bool textView;
        std::optional<std::string> element;
    };
    const Case cases[] = {
        {"the view itself", 0, false, "LoginID"},
        {"its parent", 1, true, "Password"},
        {"three levels up", 3, true, "BillingCity"},
        {"no adopter", -1, false, std::nullopt},
    };
    for (const auto& c : cases) {
        TrackingHarness local;
        QuarraTextWatcher watcher(local.context);
        watcher.startTracking();
        TestView root("Root");
        TestView a("Form", &root);
        TestView b("Row", &a);
        TestView c1("Box", &b);
        TestView edited("UITextView", &c1);
        TestView* chain[] = {&edited, &c1, &b, &root};
        if (c.adopterDepth >= 0) {
            chain[c.adopterDepth]->adopter = std::make_shared<TagHolder>(*fieldTagsFromRawValue(*c.element));
        }
        local.notifications->post({c.textView ? Name::textViewDidBeginEditing : Name::textFieldDidBeginEditing, &edited});
        local.clock->advance(1s);
        local.notifications->post({c.textView ? Name::textViewDidEndEditing : Name::textFieldDidEndEditing, &edited});
        local.run();
        if (!c.element) {
            EXPECT_TRUE(local.sender->reports().empty()) << c.name;
            EXPECT_FALSE(watcher.trackingField());
            continue;
        }
        ASSERT_EQ(local.activityStreams().size(), 1u) << c.name;
        EXPECT_EQ(local.activityStreams()[0]["element"], *c.element) << c.name;
    }
}

TEST_F(QuarraTextWatcherTest, ReportsTimeAndTypingWithoutTouchData) {
    QuarraTextWatcher watcher(h.context);
    watcher.startTracking();
    TestView form("PasswordBox");
    form.adopter = std::make_shared<TagHolder>(FieldTags::Password);
    TestView textView("UITextView", &form);
    edit(textView, true, 5, 2500ms);

    ASSERT_EQ(h.activityStreams().size(), 1u);
    auto report = h.activityStreams()[0];
    EXPECT_EQ(report["element"], "Password");
    EXPECT_EQ(report["duration"], "2500");
    EXPECT_EQ(report["kpm"], "120");
    EXPECT_EQ(report["keystrokes"], "5");
    EXPECT_EQ(report["clicks"], "1");
    for (const char* key : {"pressure", "orientation", "xposition", "yposition"}) EXPECT_EQ(report[key], "") << key;

    h.sender->answerAll(true);
    EXPECT_TRUE(h.lines->contains("TrackingField(Password) data sent successfully: true"));
}

TEST_F(QuarraTextWatcherTest, StartingTwiceStillReportsOncePerPeriodAndStoppingEndsIt) {
    QuarraTextWatcher watcher(h.context);
    watcher.startTracking();
    watcher.startTracking();
    TestView field("UITextField");
    field.adopter = std::make_shared<TagHolder>(FieldTags::LoginID);
    edit(field, false, 3, 1s);
    ASSERT_EQ(h.activityStreams().size(), 1u);
    EXPECT_EQ(h.activityStreams()[0]["keystrokes"], "3");

    watcher.stopTracking();
    edit(field, false, 3, 1s);
    EXPECT_EQ(h.activityStreams().size(), 1u);
    EXPECT_EQ(h.notifications->observerCount(), 0u);
}

TEST_F(QuarraTextWatcherTest, ASecondEndReportsTheSamePeriodAgainWithALaterEnd) {
    QuarraTextWatcher watcher(h.context);
    watcher.startTracking();
    TestView field("UITextField");
    field.adopter = std::make_shared<TagHolder>(FieldTags::LoginID);
    edit(field, false, 1, 1s);
    h.clock->advance(1s);
    h.notifications->post({Name::textFieldDidEndEditing, &field});
    h.run();
    ASSERT_EQ(h.activityStreams().size(), 2u);
    EXPECT_EQ(h.activityStreams()[0]["duration"], "1000");
    EXPECT_EQ(h.activityStreams()[1]["duration"], "2000");
    EXPECT_EQ(h.activityStreams()[1]["time"], h.activityStreams()[0]["time"]);
}

TEST_F(QuarraTextWatcherTest, NoneTagIsSkippedWithItsLine) {
    QuarraTextWatcher watcher(h.context);
    watcher.startTracking();
    TestView field("UITextField");
    field.adopter = std::make_shared<TagHolder>(FieldTags::None);
    edit(field, false, 1, 1s);
    EXPECT_TRUE(h.sender->reports().empty());
    EXPECT_TRUE(h.lines->contains("TrackingField fieldTag is \"None\", skip reporting"));
}

TEST_F(QuarraTextWatcherTest, ABeginWithoutAdopterClearsTheOpenField) {
    QuarraTextWatcher watcher(h.context);
    watcher.startTracking();
    TestView tagged("UITextField");
    tagged.adopter = std::make_shared<TagHolder>(FieldTags::LoginID);
    TestView plain("UITextField");
    h.notifications->post({Name::textFieldDidBeginEditing, &tagged});
    EXPECT_TRUE(watcher.trackingField());
    h.notifications->post({Name::textFieldDidBeginEditing, &plain});
    h.notifications->post({Name::textFieldDidEndEditing, &plain});
    h.notifications->post({Name::textFieldDidBeginEditing, nullptr});
    h.run();
    EXPECT_FALSE(watcher.trackingField());
    EXPECT_TRUE(h.sender->reports().empty());
}

TEST_F(QuarraTextWatcherTest, AViewChainThatLoopsHasNoAdopter) {
    QuarraTextWatcher watcher(h.context);
    watcher.startTracking();
    struct LoopView final : ViewNode {
        ViewNode* superview() const override { return const_cast<LoopView*>(this); }
        std::string className() const override { return "Loop"; }
    } loop;
    h.notifications->post({Name::textFieldDidBeginEditing, &loop});
    EXPECT_FALSE(watcher.trackingField());
}

}  // namespace
}  // namespace quarra
