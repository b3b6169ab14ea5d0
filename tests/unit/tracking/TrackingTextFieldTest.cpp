#include <gtest/gtest.h>

#include <quarra/tracking/TrackingTextField.hpp>

#include "base/Timestamps.hpp"
#include "unit/tracking/TrackingTestContext.hpp"

namespace quarra {
namespace {

using namespace std::chrono_literals;
using testing::ScopedLogs;
using testing::TrackingHarness;

// The toolkit's text field: focus and text are set by the test.
class FakeTextField final : public TrackingTextField::Host {
public:
    std::string className() const override { return "UITextField"; }
    bool isEditing() const override { return editing; }
    std::string text() const override { return content; }

    bool editing = false;
    std::string content;
};

// A field with its toolkit double, as an adapter would pair them.
struct Field {
    Field(const TrackingHarness& h, std::string tag) : tracking(view, h.context) { tracking.setFieldTag(std::move(tag)); }

    void focus() {
        view.editing = true;
        tracking.editingDidBegin();
    }
    void type(const std::string& text) {
        view.content += text;
        tracking.textDidChange();
    }
    void leave() {
        view.editing = false;
        tracking.editingDidEnd();
    }

    FakeTextField view;
    TrackingTextField tracking;
};

class TrackingTextFieldTest : public ::testing::Test {
protected:
    TrackingHarness h;
    ScopedLogs logs{true};
};

TEST_F(TrackingTextFieldTest, OneEditingPeriodIsReportedWithItsCountsAndTouch) {
    Field field(h, "Password");
    const auto begin = h.clock->now();
    field.focus();
    for (int i = 0; i < 5; ++i) {
        h.clock->advance(500ms);
        field.type("x");
    }
    field.tracking.touchesMoved({{0.0, {12.5, 30}}});
    field.leave();
    h.run();

    ASSERT_EQ(h.activityStreams().size(), 1u);
    const JSONDictionary expected = {
        {"element", "Password"},        {"time", formatLocalTimestamp(begin)},
        {"duration", "2500"},           {"kpm", "120"},
        {"keystrokes", "5"},            {"lastAction", "touchscreen"},
        {"firstAction", "touchscreen"}, {"clicks", "1"},
        {"pressure", "0.0"},            {"orientation", "portrait"},
        {"xposition", "12.5"},          {"yposition", "30.0"},
    };
    EXPECT_EQ(h.activityStreams()[0], expected);
    EXPECT_TRUE(h.lines->contains("TouchForce(0.0) TouchPosition(12.5, 30.0) DeviceOrientation(portrait)"));
    EXPECT_FALSE(field.tracking.shouldEndEditing());
    EXPECT_EQ(field.tracking.numberOfCharsTyped(), 0);
    EXPECT_FALSE(field.tracking.typingSpeedBeginDate());
}

TEST_F(TrackingTextFieldTest, OnlyTheEditedOfTwoFieldsReports) {
    Field a(h, "LoginID");
    Field b(h, "Password");
    a.focus();
    a.type("u");
    h.clock->advance(1s);
    a.leave();
    b.focus();  // every field hears this begin; only b has the focus
    EXPECT_TRUE(b.tracking.shouldEndEditing());
    EXPECT_FALSE(a.tracking.shouldEndEditing());
    h.run();

    ASSERT_EQ(h.activityStreams().size(), 1u);
    EXPECT_EQ(h.activityStreams()[0]["element"], "LoginID");
    EXPECT_EQ(h.activityStreams()[0]["keystrokes"], "1");

    b.type("p");
    b.type("w");
    b.leave();
    h.run();
    ASSERT_EQ(h.activityStreams().size(), 2u);
    EXPECT_EQ(h.activityStreams()[1]["element"], "Password");
    EXPECT_EQ(h.activityStreams()[1]["keystrokes"], "2");
}

TEST_F(TrackingTextFieldTest, TapsAndLongPressesCountTowardClicks) {
    struct Case {
        int taps;
        std::vector<GestureRecognizerState> longPresses;
        std::string clicks;
    };
    const Case cases[] = {
        {0, {}, "1"},
        {1, {}, "1"},
        {2, {}, "2"},
        {0, {GestureRecognizerState::ended, GestureRecognizerState::ended}, "2"},
        {0, {GestureRecognizerState::began, GestureRecognizerState::changed, GestureRecognizerState::cancelled}, "1"},
    };
    for (const auto& c : cases) {
        TrackingHarness local;
        Field field(local, "Password");
        field.tracking.viewTapped();  // before the period: the begin resets the count to 1
        field.focus();
        for (int i = 0; i < c.taps; ++i) field.tracking.viewTapped();
        for (auto state : c.longPresses) field.tracking.viewLongPressed(state);
        local.clock->advance(1s);
        field.leave();
        local.run();
        ASSERT_EQ(local.activityStreams().size(), 1u);
        EXPECT_EQ(local.activityStreams()[0]["clicks"], c.clicks) << c.taps;
    }
}

TEST_F(TrackingTextFieldTest, OrientationFollowsTheDevice) {
    struct Case {
        DeviceOrientation orientation;
        std::string text;
    };
    const Case cases[] = {
        {DeviceOrientation::unknown, "portrait"},     {DeviceOrientation::portrait, "portrait"},
        {DeviceOrientation::portraitUpsideDown, "portrait"}, {DeviceOrientation::landscapeLeft, "landscape"},
        {DeviceOrientation::landscapeRight, "landscape"}, {DeviceOrientation::faceUp, "portrait"},
        {DeviceOrientation::faceDown, "portrait"},
    };
    for (const auto& c : cases) {
        TrackingHarness local(c.orientation);
        Field field(local, "LoginID");
        field.focus();
        field.leave();
        local.run();
        ASSERT_EQ(local.activityStreams().size(), 1u);
        EXPECT_EQ(local.activityStreams()[0]["orientation"], c.text);
    }
}

TEST_F(TrackingTextFieldTest, UndefinedTagIsMeasuredButNotSent) {
    Field field(h, "Undefined");
    field.focus();
    field.type("a");
    field.leave();
    h.run();
    EXPECT_TRUE(h.sender->reports().empty());
    EXPECT_EQ(h.lines->messages(),
              (std::vector<std::string>{"TouchForce(0.0) TouchPosition(0.0, 0.0) DeviceOrientation(portrait)",
                                        "TrackingTextField fieldTag is \"None\", skip reporting"}));
}

TEST_F(TrackingTextFieldTest, ATagOutsideTheVocabularyIsSaidOnceAndNothingIsTracked) {
    ScopedLogs quiet(false);  // said whatever the log switch
    for (std::string tag : {"", "password", "None"}) {
        TrackingHarness local;
        Field field(local, tag);
        for (int period = 0; period < 2; ++period) {
            field.focus();
            field.type("a");
            field.leave();
        }
        local.run();
        EXPECT_TRUE(local.sender->reports().empty()) << tag;
        EXPECT_EQ(local.lines->lines(),
                  std::vector<std::string>{"Ortex/TrackingTextField: fieldTag should be something declared in the "
                                           "FieldTags enum, please check FieldTags for more information"})
            << tag;
        EXPECT_FALSE(field.tracking.shouldEndEditing());
    }
}

TEST_F(TrackingTextFieldTest, ATagChangedToAnUnknownOneDuringThePeriodIsNotReported) {
    Field field(h, "Password");
    field.focus();
    field.tracking.setFieldTag("Passwd");
    field.leave();
    h.run();
    EXPECT_TRUE(h.sender->reports().empty());
    EXPECT_EQ(h.lines->messages().back(),
              "Ortex/TrackingTextField: fieldTag should be something declared in the FieldTags enum, please check "
              "FieldTags for more information");
}

TEST_F(TrackingTextFieldTest, ACurrentScreenEventIsAttached) {
    h.values->currentUserEvent = UserEventType::CheckoutEnter;
    Field field(h, "PurchaseCardNumber");
    field.focus();
    field.leave();
    h.run();
    ASSERT_EQ(h.activityStreams().size(), 1u);
    EXPECT_EQ(h.activityStreams()[0].size(), 13u);
    EXPECT_EQ(h.activityStreams()[0]["userEventTypeCode"], "13");
}

TEST_F(TrackingTextFieldTest, AFieldOutOfItsWindowHearsNothingAndReportsItsPeriodOnceBack) {
    Field field(h, "Password");
    field.focus();
    h.clock->advance(1s);
    field.tracking.willMoveToWindow(false);
    EXPECT_FALSE(field.tracking.isObservingNotifications());
    field.type("a");  // unheard
    field.leave();    // unheard: the period stays open
    h.run();
    EXPECT_TRUE(h.activityStreams().empty());
    EXPECT_TRUE(field.tracking.shouldEndEditing());

    h.clock->advance(2s);
    field.tracking.willMoveToWindow(true);
    Field other(h, "LoginID");
    other.focus();
    other.leave();  // the first end it hears closes its own period too
    h.run();
    ASSERT_EQ(h.activityStreams().size(), 2u);
    EXPECT_EQ(h.activityStreams()[0]["element"], "Password");
    EXPECT_EQ(h.activityStreams()[0]["duration"], "3000");
    EXPECT_EQ(h.activityStreams()[0]["keystrokes"], "0");
}

TEST_F(TrackingTextFieldTest, TheCompletionSaysWhetherTheReportWasDeliveredWhileTheFieldLives) {
    {
        Field field(h, "Password");
        field.focus();
        field.leave();
        h.run();
        h.sender->answerAll(true);
        h.sender->answerAll(false);
        EXPECT_TRUE(h.lines->contains("TrackingTextField(Password) data sent successfully: true"));
        EXPECT_TRUE(h.lines->contains("TrackingTextField(Password) data sent successfully: false"));
    }
    h.lines->clear();
    h.sender->answerAll(true);  // the field is gone
    EXPECT_TRUE(h.lines->lines().empty());
    EXPECT_EQ(h.notifications->observerCount(), 0u);
}

TEST_F(TrackingTextFieldTest, SnapshotsAreKeptOnlyWhileThePeriodIsOpen) {
    Field field(h, "Password");
    field.focus();
    field.type("s");
    field.type("e");
    EXPECT_EQ(field.tracking.typedSnapshotCount(), 2u);
    field.leave();
    EXPECT_EQ(field.tracking.typedSnapshotCount(), 0u);
}

}  // namespace
}  // namespace quarra
