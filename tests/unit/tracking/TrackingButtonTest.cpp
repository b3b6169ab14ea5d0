#include <gtest/gtest.h>

#include <quarra/tracking/TrackingButton.hpp>

#include "base/Timestamps.hpp"
#include "unit/tracking/TrackingTestContext.hpp"

namespace quarra {
namespace {

using namespace std::chrono_literals;
using testing::ScopedLogs;
using testing::TrackingHarness;

class TrackingButtonTest : public ::testing::Test {
protected:
    TrackingHarness h;
    ScopedLogs logs{true};
};

TEST_F(TrackingButtonTest, ATapWithoutMovementReportsZeroTouchAndNoReadingOnTheFirstTap) {
    TrackingButton button(h.context);
    button.setTrackingAction(ButtonTrackingAction::LoginAttempt);
    const auto now = h.clock->now();
    button.buttonTapped();
    h.run();

    const JSONDictionary expected = {
        {"userEventType", "LoginAttempt"}, {"duration", "0"},         {"time", formatLocalTimestamp(now)},
        {"pressure", "0.0"},               {"orientation", "portrait"}, {"xposition", "0.0"},
        {"yposition", "0.0"},
    };
    ASSERT_EQ(h.userEvents().size(), 1u);
    EXPECT_EQ(h.userEvents()[0], expected);
    EXPECT_TRUE(h.accelerometerReports().empty());
    EXPECT_TRUE(h.lines->contains("Return from else"));
    EXPECT_TRUE(h.lines->contains("TouchForce(0.0) TouchPosition(0.0, 0.0) DeviceOrientation(portrait)"));
}

TEST_F(TrackingButtonTest, ALaterTapAlsoSendsTheLatestAccelerometerReading) {
    TrackingButton button(h.context);
    button.setTrackingAction("AddToCart");
    button.buttonTapped();  // starts the collector
    h.accelerometer->deliver({0.0012, -0.0105, -0.9996});
    h.main->advance(1s);
    button.touchesMoved({{0.5, {10, 20.25}}, {0.9, {99, 99}}});
    const auto now = h.clock->now();
    button.buttonTapped();
    h.run();

    ASSERT_EQ(h.userEvents().size(), 2u);
    EXPECT_EQ(h.userEvents()[1]["pressure"], "0.5");
    EXPECT_EQ(h.userEvents()[1]["xposition"], "10.0");
    EXPECT_EQ(h.userEvents()[1]["yposition"], "20.25");
    const JSONDictionary reading = {
        {"xvalue", "0.0012"}, {"yvalue", "-0.0105"}, {"zvalue", "-0.9996"}, {"createdDate", formatLocalTimestamp(now)}};
    ASSERT_EQ(h.accelerometerReports().size(), 1u);
    EXPECT_EQ(h.accelerometerReports()[0], reading);

    h.sender->answerAll(true);
    EXPECT_TRUE(h.lines->contains("TrackingButton(AddToCart) data sent successfully: true"));
    EXPECT_TRUE(h.lines->contains("AccelerometerData(AddToCart) data sent successfully: true"));
}

TEST_F(TrackingButtonTest, WithoutAnAccelerometerOnlyTheUserEventIsSent) {
    h.accelerometer->available = false;
    TrackingButton button(h.context);
    button.setTrackingAction(ButtonTrackingAction::Search);
    button.buttonTapped();
    h.main->advance(1s);
    button.buttonTapped();
    h.run();
    EXPECT_EQ(h.userEvents().size(), 2u);
    EXPECT_TRUE(h.accelerometerReports().empty());
    EXPECT_TRUE(h.lines->contains("No Accelerometers on this device: iPhone"));
}

TEST_F(TrackingButtonTest, UnreportedActions) {
    struct Case {
        std::string name;
        std::function<void(TrackingButton&)> configure;
        std::vector<std::string> lines;
    };
    const std::string missing =
        "Ortex/TrackingButton: trackingAction should be something declared in the ButtonTrackingAction enum, please "
        "check ButtonTrackingAction for more information";
    const std::vector<Case> cases = {
        {"never set", [](TrackingButton&) {}, {missing}},
        {"unknown raw string", [](TrackingButton& b) { b.setTrackingAction("Checkout"); }, {missing}},
        {"None", [](TrackingButton& b) { b.setTrackingAction(ButtonTrackingAction::None); },
         {"TrackingButton trackingAction is \"None\", skip reporting",
          "TrackingButton trackingAction is \"None\", skip reporting"}},
    };
    for (const auto& c : cases) {
        TrackingHarness local;
        TrackingButton button(local.context);
        c.configure(button);
        button.buttonTapped();
        button.buttonTapped();
        local.run();
        EXPECT_TRUE(local.sender->reports().empty()) << c.name;
        EXPECT_EQ(local.lines->messages(), c.lines) << c.name;
    }
}

TEST_F(TrackingButtonTest, LandscapeIsReportedAndBeganTouchesReachTheNextResponder) {
    TrackingHarness landscape(DeviceOrientation::landscapeRight);
    TrackingButton button(landscape.context);
    EXPECT_EQ(button.getDeviceOrientation(), "landscape");
    std::vector<Touch> forwarded;
    button.setNextResponder([&](const std::vector<Touch>& touches) { forwarded = touches; });
    button.touchesBegan({{0.25, {3, 4}}});
    ASSERT_EQ(forwarded.size(), 1u);
    EXPECT_EQ(forwarded[0].location, (ViewPoint{3, 4}));
    EXPECT_EQ(button.touchForce(), 0.0);  // only moves are kept
}

TEST_F(TrackingButtonTest, CompletionsOfAGoneButtonWriteNothing) {
    {
        TrackingButton button(h.context);
        button.setTrackingAction(ButtonTrackingAction::CompleteOrder);
        button.buttonTapped();
        h.run();
    }
    h.lines->clear();
    h.sender->answerAll(true);
    EXPECT_TRUE(h.lines->lines().empty());
}

}  // namespace
}  // namespace quarra
