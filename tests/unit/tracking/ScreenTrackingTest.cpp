#include <gtest/gtest.h>

#include <quarra/tracking/EventsTrackerCollectionViewController.hpp>
#include <quarra/tracking/EventsTrackerTableViewController.hpp>
#include <quarra/tracking/EventsTrackerViewController.hpp>
#include <quarra/tracking/ScreenAppearanceHooks.hpp>

#include "base/Timestamps.hpp"
#include "unit/tracking/TrackingTestContext.hpp"

namespace quarra {
namespace {

using namespace std::chrono_literals;
using testing::ScopedLogs;
using testing::TrackingHarness;

class CheckoutScreen final : public EventsTrackerTableViewController {
public:
    using EventsTrackerTableViewController::EventsTrackerTableViewController;
    ScreenTags screenTag() const override { return ScreenTags::Checkout; }
};

class LoginScreen final : public EventsTrackerCollectionViewController {
public:
    using EventsTrackerCollectionViewController::EventsTrackerCollectionViewController;
    ScreenTags screenTag() const override { return ScreenTags::Login; }
};

class ScreenTrackingTest : public ::testing::Test {
protected:
    ScreenTrackingTest() { hooks.install(); }

    TrackingHarness h;
    ScreenAppearanceHooks hooks{h.context};
    ScopedLogs logs{true};
};

TEST_F(ScreenTrackingTest, AHostScreenShownForFiveSeconds) {
    const ScreenClass login{"LoginViewController"};
    const auto appeared = h.clock->now();
    hooks.viewWillAppear(login);
    h.run();
    EXPECT_TRUE(h.userEvents().empty());  // the enter step waits 0.2 s
    h.main->advance(200ms);

    ASSERT_EQ(h.userEvents().size(), 1u);
    const JSONDictionary enter = {
        {"userEventType", "LoginViewController-Enter"}, {"screenName", "LoginViewController-Enter"},
        {"duration", "0"}, {"time", formatLocalTimestamp(appeared + 200ms)}, {"pressure", "0.0"},
        {"orientation", "portrait"}, {"xposition", "0.0"}, {"yposition", "0.0"},
    };
    EXPECT_EQ(h.userEvents()[0], enter);
    EXPECT_EQ(h.values->currentUserEvent, UserEventType::ForgotPasswordEnter);

    h.clock->advance(4800ms);
    hooks.viewWillDisappear(login);
    h.run();
    ASSERT_EQ(h.userEvents().size(), 2u);
    EXPECT_EQ(h.userEvents()[1]["userEventType"], "LoginViewController-Exit");
    EXPECT_EQ(h.userEvents()[1]["duration"], "4800");
    EXPECT_EQ(h.userEvents()[1].size(), 7u);
    EXPECT_EQ(h.values->currentUserEvent, UserEventType::None);
    EXPECT_EQ(h.systemLog->lines(), std::vector<std::string>{"Screen Name: ---> LoginViewController"});
    h.sender->answerAll(true);
    EXPECT_TRUE(h.lines->contains("ScreenTracking(ForgotPassword) data sent successfully: true"));
}

TEST_F(ScreenTrackingTest, ClassNameRules) {
    struct Case {
        ScreenClass screen;
        bool events;
        std::string systemLogLine;
    };
    const Case cases[] = {
        {{"UINavigationController", PlatformScreenClass::navigationController}, false,
         "Nav Controller : --->UINavigationController"},
        {{"UITableViewController", PlatformScreenClass::tableViewController}, false,
         "Table Controller : ---> UITableViewController"},
        {{"UITabBarController", PlatformScreenClass::tabBarController}, false,
         "TabBar Controller : ---> UITabBarController"},
        {{"UIAlertController", PlatformScreenClass::alertController}, false,
         "Alert Controller : ---> UIAlertController"},
        {{"MainNav"}, true, "Screen Name: ---> MainNav"},
        {{"UIMyScreen"}, false, "Screen Name: ---> UIMyScreen"},
        {{"AB"}, false, "Screen Name: ---> AB"},
        {{"ABC"}, true, "Screen Name: ---> ABC"},
        {{"Ui3"}, true, "Screen Name: ---> Ui3"},
        {{"QDialog", PlatformScreenClass::none, true}, false, "Screen Name: ---> QDialog"},
    };
    for (const auto& c : cases) {
        TrackingHarness local;
        ScreenAppearanceHooks localHooks(local.context);
        localHooks.install();
        localHooks.viewWillAppear(c.screen);
        local.main->advance(1s);
        localHooks.viewWillDisappear(c.screen);
        local.run();
        std::vector<std::string> types;
        for (const auto& event : local.userEvents()) types.push_back(event["userEventType"]);
        const auto expected = c.events ? std::vector<std::string>{c.screen.name + "-Enter", c.screen.name + "-Exit"}
                                       : std::vector<std::string>{};
        EXPECT_EQ(types, expected) << c.screen.name;
        EXPECT_EQ(local.systemLog->lines(), std::vector<std::string>{c.systemLogLine});
    }
}

TEST_F(ScreenTrackingTest, HooksDoNothingUntilInstalledAndStayOn) {
    TrackingHarness local;
    ScreenAppearanceHooks localHooks(local.context);
    localHooks.viewWillAppear({"LoginViewController"});
    local.main->advance(1s);
    localHooks.viewWillDisappear({"LoginViewController"});
    local.run();
    EXPECT_TRUE(local.sender->reports().empty());
    EXPECT_TRUE(local.systemLog->lines().empty());

    // Every online start switches screen tracking on; later switches keep it on.
    localHooks.install();
    localHooks.install();
    EXPECT_TRUE(localHooks.installed());
    localHooks.viewWillAppear({"LoginViewController"});
    local.main->advance(1s);
    EXPECT_EQ(local.userEvents().size(), 1u);
}

TEST_F(ScreenTrackingTest, TheEnterStepRunsEvenAfterTheScreenLeft) {
    hooks.viewWillAppear({"QuickScreen"});
    h.main->advance(100ms);
    hooks.viewWillDisappear({"QuickScreen"});
    h.main->advance(200ms);
    std::vector<std::string> types;
    for (const auto& event : h.userEvents()) types.push_back(event["userEventType"]);
    EXPECT_EQ(types, (std::vector<std::string>{"QuickScreen-Exit", "QuickScreen-Enter"}));
    EXPECT_EQ(h.values->currentUserEvent, UserEventType::ForgotPasswordEnter);
}

TEST_F(ScreenTrackingTest, ATaggedTableScreenWithTheHooksOn) {
    CheckoutScreen screen(h.context);
    const ScreenClass cls{"CheckoutScreen"};
    hooks.viewWillAppear(cls);
    screen.viewDidAppear();
    h.run();
    ASSERT_EQ(h.userEvents().size(), 1u);
    EXPECT_EQ(h.userEvents()[0]["userEventType"], "13");
    EXPECT_FALSE(h.userEvents()[0].contains("screenName"));
    EXPECT_EQ(h.values->currentUserEvent, UserEventType::CheckoutEnter);

    h.main->advance(200ms);  // the named enter comes later and wins
    EXPECT_EQ(h.values->currentUserEvent, UserEventType::ForgotPasswordEnter);

    h.clock->advance(3s);
    hooks.viewWillDisappear(cls);
    screen.viewWillDisappear();
    h.run();
    std::vector<std::string> types;
    for (const auto& event : h.userEvents()) types.push_back(event["userEventType"]);
    EXPECT_EQ(types, (std::vector<std::string>{"13", "CheckoutScreen-Enter", "CheckoutScreen-Exit", "14"}));
    EXPECT_EQ(h.userEvents()[2]["duration"], "3000");
    EXPECT_EQ(h.userEvents()[3]["duration"], "3200");
    EXPECT_EQ(h.values->currentUserEvent, UserEventType::None);
    h.sender->answerAll(false);
    EXPECT_TRUE(h.lines->contains("ScreenTracking(Checkout) data sent successfully: false"));
}

TEST_F(ScreenTrackingTest, OverlappingScreensClearOnlyTheirOwnEvent) {
    CheckoutScreen checkout(h.context);
    LoginScreen login(h.context);
    checkout.viewDidAppear();
    login.viewDidAppear();
    EXPECT_EQ(h.values->currentUserEvent, UserEventType::LoginEnter);
    checkout.viewWillDisappear();  // not the current one: left alone
    EXPECT_EQ(h.values->currentUserEvent, UserEventType::LoginEnter);
    login.viewWillDisappear();
    EXPECT_EQ(h.values->currentUserEvent, UserEventType::None);
    h.run();
    std::vector<std::string> types;
    for (const auto& event : h.userEvents()) types.push_back(event["userEventType"]);
    EXPECT_EQ(types, (std::vector<std::string>{"13", "1", "14", "2"}));
}

TEST_F(ScreenTrackingTest, AnUntaggedScreen) {
    EventsTrackerTableViewController screen(h.context);
    screen.viewWillDisappear();  // never appeared: nothing
    EXPECT_TRUE(h.lines->lines().empty());
    h.values->currentUserEvent = UserEventType::LoginEnter;
    screen.viewDidAppear();
    EXPECT_EQ(h.values->currentUserEvent, UserEventType::None);
    EXPECT_TRUE(screen.screenVisitStartDate());
    screen.viewWillDisappear();
    h.run();
    EXPECT_TRUE(h.sender->reports().empty());
    EXPECT_TRUE(h.lines->contains("ScreenTracking screenTag is \"None\", skip reporting"));
}

TEST_F(ScreenTrackingTest, ASecondDisappearanceReportsFromTheSameStart) {
    LoginScreen screen(h.context);
    screen.viewDidAppear();
    h.clock->advance(1s);
    screen.viewWillDisappear();
    h.clock->advance(1s);
    screen.viewWillDisappear();
    h.run();
    ASSERT_EQ(h.userEvents().size(), 3u);
    EXPECT_EQ(h.userEvents()[1]["duration"], "1000");
    EXPECT_EQ(h.userEvents()[2]["duration"], "2000");
}

TEST_F(ScreenTrackingTest, TheLastScreenTouchTravelsWithScreenEvents) {
    EventsTrackerViewController touched(h.context);
    touched.viewDidAppear();
    touched.touchesBegan({{0.1, {1, 1}}, {0.5, {120, 300}}});
    LoginScreen next(h.context);
    next.viewDidAppear();
    touched.viewWillDisappear();
    next.viewWillDisappear();
    h.run();
    ASSERT_EQ(h.userEvents().size(), 2u);
    EXPECT_EQ(h.userEvents()[0]["xposition"], "120.0");
    EXPECT_EQ(h.userEvents()[0]["yposition"], "300.0");
    EXPECT_EQ(h.userEvents()[0]["pressure"], "0.5");
    EXPECT_EQ(h.userEvents()[1]["xposition"], "0.0");
    EXPECT_EQ(h.userEvents()[1]["yposition"], "0.0");
    EXPECT_EQ(h.userEvents()[1]["pressure"], "0.5");
}

TEST_F(ScreenTrackingTest, ANamedExitBeforeAnyEnterTakesItsStartFromThatMoment) {
    h.clock->advance(1s);
    hooks.viewWillDisappear({"FirstScreen"});
    h.run();
    ASSERT_EQ(h.userEvents().size(), 1u);
    EXPECT_EQ(h.userEvents()[0]["duration"], "0");
}

}  // namespace
}  // namespace quarra
