// Tracking attached to plain widgets: by a call, by the properties a .ui form
// sets (as uic writes them), and a button promoted in Qt Designer.
#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QPushButton>
#include <QStackedWidget>
#include <QToolBar>
#include <QVBoxLayout>
#include <QVariant>
#include <chrono>
#include <gmock/gmock.h>

#include <quarra/qt/AttachedTracking.hpp>
#include <quarra/qt/ScreenTracking.hpp>
#include <quarra/qt/TrackedLineEdit.hpp>
#include <quarra/qt/TrackedPushButton.hpp>
#include <quarra/qt/TrackedScreens.hpp>
#include <quarra/qt/TrackedWidget.hpp>

#include "QtTestSupport.hpp"

namespace quarra::qt {
namespace {

using namespace std::chrono_literals;
using quarra::testing::TrackingHarness;
using testing::showActive;
using testing::HookedApp;
using testing::valuesOf;

// A login form as uic's setupUi() builds it: plain widgets, dynamic properties.
struct PropertyForm {
    PropertyForm() : email(new QLineEdit(&window)), password(new QLineEdit(&window)), logIn(new QPushButton(&window)) {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(email);
        layout->addWidget(password);
        layout->addWidget(logIn);
        email->setProperty("quarraFieldTag", QVariant(QString::fromUtf8("LoginID")));
        password->setProperty("quarraFieldTag", QVariant(QString::fromUtf8("Password")));
        logIn->setProperty("quarraAction", QVariant(QString::fromUtf8("LoginAttempt")));
    }
    QWidget window;
    QLineEdit* email;
    QLineEdit* password;
    QPushButton* logIn;
};

// Types into `field` as TextTrackingTest does for a TrackedLineEdit.
JSONDictionary onePeriod(TrackingHarness& h, QWidget& window, QLineEdit& field, QLineEdit& next) {
    field.setFocus();
    EXPECT_TRUE(showActive(window));
    QTest::mouseClick(&field, Qt::LeftButton, {}, QPoint(12, 7));
    h.main->advance(2s);
    QTest::keyClicks(&field, "hunter2");
    h.main->advance(1s);
    next.setFocus(Qt::TabFocusReason);
    h.run();
    const auto reports = h.activityStreams();
    EXPECT_EQ(reports.size(), 1u);
    return reports.empty() ? JSONDictionary{} : reports[0];
}

TEST(AttachedFieldTest, EveryRouteSendsWhatTheSubclassSends) {
    JSONDictionary reference;
    {
        TrackingHarness h;
        QWidget window;
        auto* field = new TrackedLineEdit(&window, h.context);
        auto* next = new QLineEdit(&window);
        new QVBoxLayout(&window);
        window.layout()->addWidget(field);
        window.layout()->addWidget(next);
        field->setFieldTag("Password");
        reference = onePeriod(h, window, *field, *next);
    }
    ASSERT_EQ(reference["element"], "Password");
    enum class Route { call, property };
    for (Route route : {Route::call, Route::property}) {
        SCOPED_TRACE(route == Route::call ? "trackField" : "property");
        TrackingHarness h;
        PropertyTrackingFilter filter(*QCoreApplication::instance(), h.context);
        PropertyForm form;
        if (route == Route::call) {
            form.password->setProperty("quarraFieldTag", QVariant());
            form.email->setProperty("quarraFieldTag", QVariant());
            ASSERT_TRUE(trackField(form.password, FieldTags::Password, h.context));
        }
        const JSONDictionary report = onePeriod(h, form.window, *form.password, *form.email);
        EXPECT_EQ(report, reference);
    }
}

TEST(AttachedFieldTest, AFieldDeletedMidPeriodReportsIt) {
    TrackingHarness h;
    QWidget window;
    auto* field = new QLineEdit(&window);
    ASSERT_TRUE(trackField(field, FieldTags::BillingCity, h.context));
    field->setFocus();
    ASSERT_TRUE(showActive(window));
    QTest::keyClicks(field, "Lyon");
    h.main->advance(1s);
    delete field;
    h.run();
    EXPECT_EQ(valuesOf(h.activityStreams(), "element"), std::vector<std::string>{"BillingCity"});
    EXPECT_EQ(valuesOf(h.activityStreams(), "keystrokes"), std::vector<std::string>{"4"});
}

TEST(AttachedTrackingTest, NoneAndWidgetsThatTrackThemselvesTakeNothing) {
    TrackingHarness h;
    QPushButton button;
    TrackedLineEdit tracked(nullptr, h.context);
    TrackedTableScreen screen(nullptr, h.context);
    EXPECT_FALSE(trackField(&button, FieldTags::Password, h.context));  // not an editor
    EXPECT_FALSE(trackField(&tracked, FieldTags::Password, h.context));
    EXPECT_FALSE(trackField(nullptr, FieldTags::Password, h.context));
    EXPECT_FALSE(trackScreen(&screen, ScreenTags::Checkout, h.context));
    EXPECT_FALSE(trackScreen(nullptr, ScreenTags::Checkout, h.context));
    EXPECT_FALSE(trackPicker(nullptr, FieldTags::LoginPickerView, h.context));
    EXPECT_FALSE(trackButton(nullptr, ButtonTrackingAction::LoginAttempt, h.context));
    EXPECT_FALSE(trackAction(nullptr, ButtonTrackingAction::LoginAttempt, h.context));
    EXPECT_TRUE(button.children().isEmpty());
}

TEST(AttachedButtonTest, PropertyCallPromotedButtonAndActionReportEachClick) {
    TrackingHarness h;
    PropertyTrackingFilter filter(*QCoreApplication::instance(), h.context);
    PropertyForm form;                                 // quarraAction = LoginAttempt
    auto* other = new QPushButton(&form.window);       // trackButton()
    auto* promoted = new TrackedPushButton(&form.window, h.context);  // as uic makes a promoted one
    promoted->setTrackingAction("ProceedToCheckout");
    QAction action;
    form.window.layout()->addWidget(other);
    form.window.layout()->addWidget(promoted);
    ASSERT_TRUE(trackButton(other, ButtonTrackingAction::AddToCart, h.context));
    ASSERT_TRUE(trackAction(&action, ButtonTrackingAction::ProceedToCheckout, h.context));
    ASSERT_TRUE(showActive(form.window));

    QTest::mouseClick(form.logIn, Qt::LeftButton, {}, QPoint(5, 6));
    QTest::mouseClick(other, Qt::LeftButton);
    QTest::mouseClick(promoted, Qt::LeftButton);
    action.trigger();
    h.run();
    EXPECT_EQ(valuesOf(h.userEvents(), "userEventType"),
              (std::vector<std::string>{"LoginAttempt", "AddToCart", "ProceedToCheckout", "ProceedToCheckout"}));
    ASSERT_FALSE(h.userEvents().empty());
    EXPECT_EQ(h.userEvents()[0]["xposition"], "5.0");
    EXPECT_EQ(h.userEvents()[0]["yposition"], "6.0");
}

// An action is no widget: the filter never sees it polished. Whenever its
// property was set, its triggers are reported once it sits in a menu or a
// tool bar.
TEST(PropertyTrackingTest, AnActionsPropertyIsHonouredWhereverItIsAdded) {
    enum class Order { asUicBuildsIt, propertyBeforeTheFilterAddedAfter, allBeforeTheFilterMenuPolishedAfter };
    const struct {
        const char* name;
        Order order;
    } cases[] = {
        {"filter, action, property, menu (setupUi)", Order::asUicBuildsIt},
        {"property before the filter, added to a tool bar after", Order::propertyBeforeTheFilterAddedAfter},
        {"everything before the filter, the menu first polished after", Order::allBeforeTheFilterMenuPolishedAfter},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TrackingHarness h;
        QMainWindow window;
        QMenu menu;
        auto* toolBar = new QToolBar(&window);
        auto* checkout = new QAction(&window);
        auto* untracked = new QAction(&window);
        std::unique_ptr<PropertyTrackingFilter> filter;
        const auto install = [&] {
            filter = std::make_unique<PropertyTrackingFilter>(*QCoreApplication::instance(), h.context);
        };
        const auto setAction = [checkout] {
            checkout->setProperty("quarraAction", QString::fromUtf8("ProceedToCheckout"));
        };
        switch (c.order) {
            case Order::asUicBuildsIt:
                install();
                setAction();
                menu.addAction(checkout);
                break;
            case Order::propertyBeforeTheFilterAddedAfter:
                setAction();
                install();
                toolBar->addAction(checkout);
                break;
            case Order::allBeforeTheFilterMenuPolishedAfter:
                setAction();
                menu.addAction(checkout);
                install();
                menu.ensurePolished();
                break;
        }
        menu.addAction(untracked);
        checkout->trigger();
        untracked->trigger();
        checkout->trigger();
        h.run();
        EXPECT_EQ(valuesOf(h.userEvents(), "userEventType"),
                  (std::vector<std::string>{"ProceedToCheckout", "ProceedToCheckout"}));
        filter.reset();  // owned by the application otherwise
    }
}

// A combo box is picked from while its list is down; a list while it shows.
TEST(AttachedPickerTest, AComboBoxReportsEachDropDownAndAListEachShowByPropertyOrCall) {
    struct Case {
        const char* name;
        bool combo;
        bool byProperty;
    };
    const Case cases[] = {
        {"QComboBox by property", true, true},
        {"QComboBox by call", true, false},
        {"QListWidget by property", false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TrackingHarness h;
        PropertyTrackingFilter filter(*QCoreApplication::instance(), h.context);
        QWidget window;
        auto* layout = new QVBoxLayout(&window);
        QWidget* picker = nullptr;
        std::function<void()> open, close;
        if (c.combo) {
            auto* combo = new QComboBox;
            combo->addItems({"female", "male", "other"});
            open = [combo] { combo->showPopup(); };
            close = [combo] { combo->hidePopup(); };
            picker = combo;
        } else {
            auto* list = new QListWidget;
            list->addItems({"female", "male", "other"});
            list->setVisible(false);
            open = [list] { list->show(); };
            close = [list] { list->hide(); };
            picker = list;
        }
        layout->addWidget(picker);
        if (c.byProperty) {
            picker->setProperty("quarraPickerTag", QString::fromUtf8("LoginPickerView"));
        } else {
            ASSERT_TRUE(trackPicker(picker, FieldTags::LoginPickerView, h.context));
        }
        ASSERT_TRUE(showActive(window));
        h.main->advance(2s);  // on the screen, not picked from
        open();
        h.main->advance(3s);
        close();
        h.main->advance(1s);
        open();
        h.main->advance(4s);
        close();
        h.run();
        const auto reports = h.activityStreams();
        EXPECT_EQ(valuesOf(reports, "element"), (std::vector<std::string>{"LoginPickerView", "LoginPickerView"}));
        EXPECT_EQ(valuesOf(reports, "duration"), (std::vector<std::string>{"3000", "4000"}));
    }
}

TEST(AttachedScreenTest, DialogsMainWindowsAndPagesAreScreensNamedByTheirTag) {
    struct Case {
        const char* name;
        std::function<std::unique_ptr<QWidget>()> make;
        bool byProperty;
    };
    const Case cases[] = {
        {"QDialog by call", [] { return std::make_unique<QDialog>(); }, false},
        {"QMainWindow by call", [] { return std::make_unique<QMainWindow>(); }, false},
        {"bare QWidget by property", [] { return std::make_unique<QWidget>(); }, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        HookedApp app;
        PropertyTrackingFilter properties(*QCoreApplication::instance(), app.h.context);
        auto screen = c.make();
        if (c.byProperty) {
            screen->setProperty("quarraScreenTag", QVariant(QString::fromUtf8("Checkout")));
        } else {
            ASSERT_TRUE(trackScreen(screen.get(), ScreenTags::Checkout, app.h.context));
        }
        screen->show();
        app.h.main->advance(4s);
        screen->hide();
        app.h.run();
        const auto types = app.eventTypes();
        ASSERT_EQ(types.size(), 4u);
        EXPECT_EQ(types[1], "Checkout-Enter");
        EXPECT_EQ(types[2], "Checkout-Exit");  // the hooks before the screen's own exit
        EXPECT_NE(types[0], types[3]);         // the tagged enter and exit
    }
}

TEST(AttachedScreenTest, AScreenDeletedWhileShownExits) {
    HookedApp app;
    auto* dialog = new QDialog;
    ASSERT_TRUE(trackScreen(dialog, ScreenTags::Checkout, app.h.context));
    dialog->show();
    app.h.main->advance(4s);
    delete dialog;
    app.h.run();
    const auto types = app.eventTypes();
    ASSERT_EQ(types.size(), 4u);
    EXPECT_EQ(types[1], "Checkout-Enter");
    EXPECT_EQ(std::count(types.begin(), types.end(), "Checkout-Exit"), 1);
}

TEST(AttachedScreenTest, TheCurrentPageOfAStackDeletedExitsUnderItsTag) {
    HookedApp app;
    PropertyTrackingFilter properties(*QCoreApplication::instance(), app.h.context);
    QStackedWidget stack;
    auto* cart = new QWidget;  // a page from setupUi(): a bare QWidget
    cart->setProperty("quarraScreenTag", QVariant(QString::fromUtf8("ShoppingCart")));
    stack.addWidget(cart);
    stack.addWidget(new QWidget);
    stack.show();
    app.h.main->advance(2s);
    delete cart;  // the next page shows
    app.h.run();
    const auto types = app.eventTypes();
    EXPECT_THAT(types, ::testing::Contains("ShoppingCart-Enter"));
    EXPECT_EQ(std::count(types.begin(), types.end(), "ShoppingCart-Exit"), 1);
    EXPECT_EQ(types.size(), 4u);  // named enter and exit, tagged enter and exit
}

TEST(PropertyTrackingTest, OneApplicationFilterWhateverTheNumberOfTrackedWidgets) {
    installPropertyTracking();
    installPropertyTracking();
    TrackingHarness h;
    QWidget window;
    for (int i = 0; i < 20; ++i) {
        auto* field = new QLineEdit(&window);
        field->setProperty("quarraFieldTag", QVariant(QString::fromUtf8("Password")));
        trackButton(new QPushButton(&window), ButtonTrackingAction::ProceedToCheckout, h.context);
    }
    window.show();
    auto* app = QCoreApplication::instance();
    EXPECT_EQ(app->findChildren<PropertyTrackingFilter*>(QString(), Qt::FindDirectChildrenOnly).size(), 1);
    // Every control is a child of its own widget, listening there.
    for (auto* field : window.findChildren<QLineEdit*>()) {
        EXPECT_EQ(field->findChildren<QObject*>(QStringLiteral("quarra-field-attachment")).size(), 1);
    }
    delete app->findChild<PropertyTrackingFilter*>(QString(), Qt::FindDirectChildrenOnly);
}


// Counts what the application hands to the widget's filter.
class CountingWidget final : public TrackedWidget {
public:
    using TrackedWidget::TrackedWidget;
    int filtered = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        ++filtered;
        return TrackedWidget::eventFilter(watched, event);
    }
};

TEST(TrackedWidgetTest, ManyTrackedWidgetsShareOneApplicationFilter) {
    TrackingHarness h;
    QWidget window;
    std::vector<CountingWidget*> widgets;
    for (int i = 0; i < 20; ++i) widgets.push_back(new CountingWidget(&window, h.context));
    widgets[0]->resize(50, 50);
    ASSERT_TRUE(showActive(window));
    for (auto* w : widgets) w->filtered = 0;

    // An event of an unrelated object reaches no tracked widget.
    QObject unrelated;
    QEvent custom(QEvent::User);
    QCoreApplication::sendEvent(&unrelated, &custom);
    QTest::mouseClick(widgets[0], Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(widgets[0]->filtered, 2);  // its press and its release
    for (size_t i = 1; i < widgets.size(); ++i) EXPECT_EQ(widgets[i]->filtered, 0) << i;
    EXPECT_EQ(QCoreApplication::instance()
                  ->findChildren<QObject*>(QStringLiteral("quarra-press-dispatcher"), Qt::FindDirectChildrenOnly)
                  .size(),
              1);
}


TEST(AttachedPickerTest, EachShownPeriodIsReportedAlsoWhenThePickerIsDeletedShown) {
    TrackingHarness h;
    QWidget window;
    auto* picker = new QListWidget(&window);
    picker->addItems({"female", "male", "other"});
    ASSERT_TRUE(trackPicker(picker, FieldTags::LoginPickerView, h.context));
    ASSERT_TRUE(showActive(window));  // shows the picker: the first period
    h.main->advance(3s);
    picker->hide();
    picker->show();
    h.main->advance(5s);
    delete picker;
    h.run();
    const auto reports = h.activityStreams();
    EXPECT_EQ(valuesOf(reports, "element"), (std::vector<std::string>{"LoginPickerView", "LoginPickerView"}));
    EXPECT_EQ(valuesOf(reports, "duration"), (std::vector<std::string>{"3000", "5000"}));
}

}  // namespace
}  // namespace quarra::qt
