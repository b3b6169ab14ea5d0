// Forms from .ui files: one tracked by dynamic properties alone, one with the
// adapter's classes promoted (uic's code must compile).
#include <QDialog>
#include <chrono>
#include <type_traits>
#include <gmock/gmock.h>

#include <quarra/qt/AttachedTracking.hpp>
#include <quarra/qt/ScreenTracking.hpp>

#include "QtTestSupport.hpp"
#include "ui_LoginDialog.h"
#include "ui_PromotedButtonForm.h"

namespace quarra::qt {
namespace {

using namespace std::chrono_literals;
using quarra::testing::TrackingHarness;
using testing::showActive;
using testing::valuesOf;

// uic constructs promoted classes with their parent alone.
static_assert(std::is_invocable_v<decltype(&Ui::PromotedButtonForm::setupUi), Ui::PromotedButtonForm&, QWidget*>);
static_assert(std::is_constructible_v<TrackedPushButton, QWidget*>);

TEST(DesignerFormTest, AFormTrackedByPropertiesOnlyReportsTypingClicksAndItsVisit) {
    TrackingHarness h;
    ScreenAppearanceHooks hooks(h.context);
    hooks.install();
    ScreenHooksFilter screens(hooks, *QCoreApplication::instance());
    PropertyTrackingFilter properties(*QCoreApplication::instance(), h.context);
    QDialog dialog;
    Ui::LoginDialog ui;
    ui.setupUi(&dialog);
    ui.password->setFocus();
    ASSERT_TRUE(showActive(dialog));

    QTest::keyClicks(ui.password, "hunter2");
    h.main->advance(2s);
    QTest::mouseClick(ui.logIn, Qt::LeftButton);  // takes the focus: the period ends
    dialog.hide();
    h.run();

    EXPECT_EQ(valuesOf(h.activityStreams(), "element"), std::vector<std::string>{"Password"});
    EXPECT_EQ(valuesOf(h.activityStreams(), "keystrokes"), std::vector<std::string>{"7"});
    const auto types = valuesOf(h.userEvents(), "userEventType");
    EXPECT_THAT(types, ::testing::Contains("LoginAttempt"));
    EXPECT_THAT(types, ::testing::Contains("Login-Exit"));  // a QDialog, named by its tag
}

}  // namespace
}  // namespace quarra::qt
