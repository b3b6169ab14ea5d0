// A control or screen closed in the middle of what it measures still reports it.
#include <QLineEdit>
#include <QVBoxLayout>
#include <chrono>
#include <functional>
#include <gmock/gmock.h>

#include <quarra/qt/TextWatcher.hpp>
#include <quarra/qt/TrackedFieldGroup.hpp>
#include <quarra/qt/TrackedLineEdit.hpp>
#include <quarra/qt/TrackedPicker.hpp>
#include <quarra/qt/TrackedScreens.hpp>

#include "QtTestSupport.hpp"

namespace quarra::qt {
namespace {

using namespace std::chrono_literals;
using quarra::testing::TrackingHarness;
using testing::showActive;
using testing::valuesOf;

class CartScreen : public TrackedTableScreen {
public:
    using TrackedTableScreen::TrackedTableScreen;
    ScreenTags screenTag() const override { return ScreenTags::ShoppingCart; }
};

TEST(ClosingMidPeriodTest, TheOpenPeriodIsReportedWhenTheWidgetGoes) {
    struct Case {
        const char* name;
        // Opens a period in `window`, lets 2 s pass, deletes the measuring widget.
        std::function<void(TrackingHarness&, QWidget& window)> play;
        std::function<std::vector<JSONDictionary>(const TrackingHarness&)> reports;
        std::string label;
        std::string labelKey;
    };
    const auto activity = [](const TrackingHarness& h) { return h.activityStreams(); };
    const Case cases[] = {
        {"a tracked line edit with the focus",
         [](TrackingHarness& h, QWidget& window) {
             auto* field = new TrackedLineEdit(&window, h.context);
             field->setFieldTag("Password");
             field->setFocus();
             ASSERT_TRUE(showActive(window));
             QTest::keyClicks(field, "abc");
             h.main->advance(2s);
             delete field;
         },
         activity, "Password", "element"},
        {"a shown picker",
         [](TrackingHarness& h, QWidget& window) {
             auto* picker = new TrackedPicker(&window, h.context);
             picker->setFieldTag("LoginPickerView");
             ASSERT_TRUE(showActive(window));
             h.main->advance(2s);
             delete picker;
         },
         activity, "LoginPickerView", "element"},
        {"an editor inside an adopter, under a watcher",
         [](TrackingHarness& h, QWidget& window) {
             auto* group = new TrackedFieldGroup(&window);
             group->setFieldTag("BillingCity");
             auto* editor = new QLineEdit(group);
             auto* watcher = new TextWatcher(&window, h.context);
             watcher->startTracking();
             editor->setFocus();
             ASSERT_TRUE(showActive(window));
             QTest::keyClicks(editor, "Lyon");
             h.main->advance(2s);
             delete group;
         },
         activity, "BillingCity", "element"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TrackingHarness h;
        QWidget window;
        new QVBoxLayout(&window);
        c.play(h, window);
        h.run();
        const auto reports = c.reports(h);
        ASSERT_EQ(reports.size(), 1u);
        EXPECT_EQ(reports[0][c.labelKey], c.label);
        EXPECT_EQ(reports[0]["duration"], "2000");
    }
}

TEST(ClosingMidPeriodTest, ATaggedScreenClosedWhileShownReportsItsExit) {
    TrackingHarness h;
    auto screen = std::make_unique<CartScreen>(nullptr, h.context);
    screen->show();
    h.main->advance(3s);
    screen.reset();
    h.run();
    EXPECT_EQ(h.userEvents().size(), 2u);  // the coded enter and exit
}

}  // namespace
}  // namespace quarra::qt
