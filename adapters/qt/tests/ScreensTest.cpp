// The automatic screen hooks and the tracked screen bases on real windows.
#include <QDialog>
#include <QMetaProperty>
#include <QMessageBox>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTableWidget>
#include <chrono>
#include <functional>
#include <memory>
#include <gmock/gmock.h>

#include <quarra/qt/ScreenTracking.hpp>
#include <quarra/qt/TrackedScreens.hpp>

#include "QtTestSupport.hpp"

// Host screens, as an application declares them.
class LoginScreen : public QWidget {
    Q_OBJECT
};
namespace shop {
class CartScreen : public QWidget {
    Q_OBJECT
};
class CheckoutScreen : public quarra::qt::TrackedTableScreen {
    Q_OBJECT
public:
    using TrackedTableScreen::TrackedTableScreen;
    quarra::ScreenTags screenTag() const override { return quarra::ScreenTags::Checkout; }
};
class ProductsScreen : public quarra::qt::TrackedCollectionScreen {
    Q_OBJECT
public:
    using TrackedCollectionScreen::TrackedCollectionScreen;
    quarra::ScreenTags screenTag() const override { return quarra::ScreenTags::Checkout; }
};
}  // namespace shop
class MainNav : public QStackedWidget {
    Q_OBJECT
};

namespace quarra::qt {
namespace {

using namespace std::chrono_literals;
using quarra::testing::TrackingHarness;
using testing::HookedApp;
using testing::valuesOf;

TEST(ScreenClassTest, QtClassesStandForThePlatformsOwn) {
    struct Case {
        std::unique_ptr<QWidget> widget;
        std::string name;
        PlatformScreenClass exact;
        bool toolkit;
    };
    Case cases[] = {
        {std::make_unique<LoginScreen>(), "LoginScreen", PlatformScreenClass::none, false},
        {std::make_unique<shop::CartScreen>(), "CartScreen", PlatformScreenClass::none, false},
        {std::make_unique<MainNav>(), "MainNav", PlatformScreenClass::none, false},
        {std::make_unique<QStackedWidget>(), "QStackedWidget", PlatformScreenClass::navigationController, true},
        {std::make_unique<QTabWidget>(), "QTabWidget", PlatformScreenClass::tabBarController, true},
        {std::make_unique<QMessageBox>(), "QMessageBox", PlatformScreenClass::alertController, true},
        {std::make_unique<QTableWidget>(), "QTableWidget", PlatformScreenClass::tableViewController, true},
        {std::make_unique<QDialog>(), "QDialog", PlatformScreenClass::none, true},
    };
    for (const auto& c : cases) {
        const ScreenClass screen = screenClassOf(*c.widget);
        EXPECT_EQ(screen.name, c.name);
        EXPECT_EQ(screen.exactPlatformClass, c.exact) << c.name;
        EXPECT_EQ(screen.toolkitClass, c.toolkit) << c.name;
    }
}

TEST(ScreenHooksFilterTest, AHostWindowEntersAfterAMomentAndExitsWhenHidden) {
    HookedApp app;
    LoginScreen login;
    login.show();
    app.h.main->advance(200ms);
    app.h.main->advance(3s);
    login.hide();
    app.h.run();
    EXPECT_EQ(app.eventTypes(), (std::vector<std::string>{"LoginScreen-Enter", "LoginScreen-Exit"}));
    EXPECT_EQ(app.h.systemLog->lines(), std::vector<std::string>{"Screen Name: ---> LoginScreen"});
}

TEST(ScreenHooksFilterTest, PagesOfAStackAreScreensAndTheStackIsTheNavigationContainer) {
    HookedApp app;
    QStackedWidget stack;
    auto* login = new LoginScreen;
    auto* cart = new shop::CartScreen;
    stack.addWidget(login);
    stack.addWidget(cart);
    stack.show();
    app.h.main->advance(1s);
    stack.setCurrentWidget(cart);
    app.h.main->advance(1s);
    stack.hide();
    app.h.run();

    EXPECT_THAT(app.eventTypes(), ::testing::ElementsAre("LoginScreen-Enter", "LoginScreen-Exit", "CartScreen-Enter",
                                                         "CartScreen-Exit"));
    EXPECT_THAT(app.h.systemLog->lines(),
                ::testing::UnorderedElementsAre("Screen Name: ---> LoginScreen", "Screen Name: ---> CartScreen",
                                                "Nav Controller : --->QStackedWidget"));
}

TEST(ScreenHooksFilterTest, ToolkitWindowsAndPopupsReportNothing) {
    HookedApp app;
    QMessageBox alert;
    alert.setText("Card declined");
    QDialog dialog;
    QWidget popup(nullptr, Qt::Popup);
    for (QWidget* window : {static_cast<QWidget*>(&alert), static_cast<QWidget*>(&dialog), &popup}) {
        window->show();
        app.h.main->advance(1s);
        window->hide();
    }
    app.h.run();
    EXPECT_TRUE(app.eventTypes().empty());
    EXPECT_EQ(app.h.systemLog->lines(),
              (std::vector<std::string>{"Alert Controller : ---> QMessageBox", "Screen Name: ---> QDialog"}));
}

TEST(ScreenHooksFilterTest, NothingBeforeScreenTrackingIsSwitchedOn) {
    TrackingHarness h;
    ScreenAppearanceHooks hooks(h.context);
    ScreenHooksFilter filter(hooks, *QCoreApplication::instance());
    LoginScreen login;
    login.show();
    h.main->advance(1s);
    login.hide();
    h.run();
    EXPECT_TRUE(h.userEvents().empty());
    EXPECT_TRUE(h.systemLog->lines().empty());
}

TEST(TrackedTableScreenTest, ATaggedScreenReportsItsVisitAfterTheNamedExit) {
    HookedApp app;
    shop::CheckoutScreen checkout(nullptr, app.h.context);
    checkout.show();
    app.h.main->advance(4s);
    checkout.hide();
    app.h.run();
    const auto types = app.eventTypes();
    ASSERT_EQ(types.size(), 4u);
    EXPECT_EQ(types[1], "CheckoutScreen-Enter");
    EXPECT_EQ(types[2], "CheckoutScreen-Exit");  // the hooks run before the screen's own handler
    EXPECT_NE(types[0], types[3]);               // the tagged enter and exit
    EXPECT_FALSE(checkout.tracking().screenVisitStartDate() == std::nullopt);
}

TEST(TrackedTableScreenTest, AnUntaggedScreenSendsNothingOfItsOwn) {
    TrackingHarness h;
    TrackedTableScreen screen(nullptr, h.context);
    screen.show();
    h.main->advance(2s);
    screen.hide();
    h.run();
    EXPECT_TRUE(h.userEvents().empty());
}

// As a promoted screen in Qt Designer: the tag is a list to pick from, set
// by its key; the visits it labels are those of a screen overriding screenTag().
TEST(TrackedScreenBasesTest, TheTagPropertyIsAnEnumThatLabelsTheVisitsAsAnOverrideDoes) {
    struct Case {
        const char* name;
        std::function<std::unique_ptr<QWidget>(const std::shared_ptr<const TrackingContext>&)> make;
        std::function<std::unique_ptr<QWidget>(const std::shared_ptr<const TrackingContext>&)> overriding;
    };
    const Case cases[] = {
        {"TrackedScreen", [](const auto& c) { return std::make_unique<TrackedScreen>(nullptr, c); }, nullptr},
        {"TrackedTableScreen", [](const auto& c) { return std::make_unique<TrackedTableScreen>(nullptr, c); },
         [](const auto& c) { return std::make_unique<shop::CheckoutScreen>(nullptr, c); }},
        {"TrackedCollectionScreen", [](const auto& c) { return std::make_unique<TrackedCollectionScreen>(nullptr, c); },
         [](const auto& c) { return std::make_unique<shop::ProductsScreen>(nullptr, c); }},
    };
    const auto visit = [](QWidget& screen, TrackingHarness& h) {
        screen.show();
        h.main->advance(3s);
        screen.hide();
        h.run();
        return valuesOf(h.userEvents(), "userEventType");
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TrackingHarness h;
        auto screen = c.make(h.context);
        const QMetaObject& meta = *screen->metaObject();
        const QMetaProperty property = meta.property(meta.indexOfProperty("tag"));
        ASSERT_TRUE(property.isValid());
        ASSERT_TRUE(property.isEnumType());
        ASSERT_TRUE(property.hasNotifySignal());
        EXPECT_EQ(property.enumerator().keyCount(), QMetaEnum::fromType<Tags::Screen>().keyCount());
        QSignalSpy changed(screen.get(), property.notifySignal());
        ASSERT_TRUE(screen->setProperty("tag", QString::fromLatin1("Checkout")));  // as setupUi() does
        screen->setProperty("tag", QString::fromLatin1("Checkout"));               // unchanged: no signal
        EXPECT_EQ(changed.size(), 1);
        EXPECT_EQ(property.enumerator().valueToKey(screen->property("tag").toInt()), std::string("Checkout"));
        if (!c.overriding) continue;  // this kind sends no tagged events

        const auto byProperty = visit(*screen, h);
        TrackingHarness reference;
        auto overriding = c.overriding(reference.context);
        EXPECT_EQ(overriding->property("tag").toInt(), static_cast<int>(Tags::Screen::Checkout));  // reads the override
        const auto byOverride = visit(*overriding, reference);
        ASSERT_EQ(byOverride.size(), 2u);
        EXPECT_EQ(byProperty, byOverride);
    }
}

TEST(TrackedScreenTest, APressOnTheScreenIsItsLastTouch) {
    TrackingHarness h;
    TrackedScreen screen(nullptr, h.context);
    screen.resize(300, 200);
    screen.show();
    QTest::mouseClick(&screen, Qt::LeftButton, {}, QPoint(120, 80));
    EXPECT_DOUBLE_EQ(h.values->lastScreenTouch.x, 120);
    EXPECT_DOUBLE_EQ(h.values->lastScreenTouch.y, 80);
    EXPECT_DOUBLE_EQ(h.values->lastScreenTouch.force, 0);
}

}  // namespace
}  // namespace quarra::qt

#include "ScreensTest.moc"
