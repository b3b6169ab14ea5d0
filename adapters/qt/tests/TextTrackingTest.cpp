// Typing into real widgets: the tracked line edit and the text watcher.
#include <QDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QVBoxLayout>
#include <algorithm>
#include <chrono>
#include <memory>
#include <gmock/gmock.h>

#include <quarra/qt/AttachedTracking.hpp>
#include <quarra/qt/TextWatcher.hpp>
#include <quarra/qt/TrackedFieldGroup.hpp>
#include <quarra/qt/TrackedLineEdit.hpp>

#include "QtTestSupport.hpp"

namespace quarra::qt {
namespace {

using namespace std::chrono_literals;
using quarra::testing::TrackingHarness;
using testing::showActive;
using testing::valuesOf;

struct LoginForm {
    explicit LoginForm(TrackingHarness& h)
        : email(new TrackedLineEdit(&window, h.context)), password(new TrackedLineEdit(&window, h.context)) {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(email);
        layout->addWidget(password);
        email->setFieldTag("LoginID");
        password->setFieldTag("Password");
    }
    QWidget window;
    TrackedLineEdit* email;
    TrackedLineEdit* password;
};

TEST(TrackedLineEditTest, OnlyTheEditedFieldReportsItsPeriod) {
    TrackingHarness h;
    LoginForm form(h);
    form.password->setFocus();  // else the window gives the first field the focus
    ASSERT_TRUE(showActive(form.window));

    QTest::mouseClick(form.password, Qt::LeftButton, {}, QPoint(12, 7));
    h.main->advance(2s);
    QTest::keyClicks(form.password, "hunter2");
    h.main->advance(1s);
    form.email->setFocus(Qt::TabFocusReason);  // ends the password's period, begins the email's
    h.run();

    const auto reports = h.activityStreams();
    ASSERT_EQ(reports.size(), 1u);
    const auto& report = reports[0];
    EXPECT_EQ(report["element"], "Password");
    EXPECT_EQ(report["duration"], "3000");
    EXPECT_EQ(report["keystrokes"], "7");
    EXPECT_EQ(report["kpm"], "140");  // seven keys over the three seconds
    EXPECT_EQ(report["clicks"], "1");
    EXPECT_EQ(report["pressure"], "0.0");  // a mouse has no force
    EXPECT_EQ(report["xposition"], "12.0");
    EXPECT_EQ(report["yposition"], "7.0");
    EXPECT_TRUE(form.email->tracking().shouldEndEditing());
}

TEST(TrackedLineEditTest, TheTypedTextGoesNowhere) {
    TrackingHarness h;
    LoginForm form(h);
    ASSERT_TRUE(showActive(form.window));
    form.password->setFocus(Qt::MouseFocusReason);
    QTest::keyClicks(form.password, "Zq9#Secret");
    EXPECT_GT(form.password->tracking().typedSnapshotCount(), 0u);
    form.email->setFocus(Qt::TabFocusReason);
    h.run();

    EXPECT_EQ(form.password->tracking().typedSnapshotCount(), 0u);
    std::string everything;
    for (const auto& report : h.sender->reports()) everything += report.data.dump();
    for (const auto& line : h.lines->lines()) everything += line;
    ASSERT_FALSE(everything.empty());
    EXPECT_EQ(everything.find("Secret"), std::string::npos);
    EXPECT_EQ(everything.find("Zq9"), std::string::npos);
}

TEST(TrackedLineEditTest, LeavingTheWindowEndsThePeriodAndComingBackBeginsOne) {
    TrackingHarness h;
    LoginForm form(h);
    form.password->setFocus();
    ASSERT_TRUE(showActive(form.window));
    QTest::keyClicks(form.password, "ab");

    QWidget other;
    ASSERT_TRUE(showActive(other));
    h.run();
    EXPECT_EQ(valuesOf(h.activityStreams(), "keystrokes"), std::vector<std::string>{"2"});

    ASSERT_TRUE(showActive(form.window));  // the focus comes back to the password
    QTest::keyClicks(form.password, "cde");
    form.email->setFocus(Qt::TabFocusReason);
    h.run();
    EXPECT_EQ(valuesOf(h.activityStreams(), "keystrokes"), (std::vector<std::string>{"2", "3"}));
    EXPECT_EQ(valuesOf(h.activityStreams(), "element"), (std::vector<std::string>{"Password", "Password"}));
}

TEST(TrackedLineEditTest, TheFieldFocusedWhenTheWindowOpensBeginsAPeriod) {
    TrackingHarness h;
    LoginForm form(h);
    form.email->setFocus();
    ASSERT_TRUE(showActive(form.window));
    ASSERT_TRUE(form.email->hasFocus());
    QTest::keyClicks(form.email, "me");
    form.password->setFocus(Qt::TabFocusReason);
    h.run();
    EXPECT_EQ(valuesOf(h.activityStreams(), "element"), std::vector<std::string>{"LoginID"});
}

// A dialog hands the focus over twice while it activates; the first time
// before hasFocus() holds.
TEST(TrackedLineEditTest, TheFieldFocusedWhenADialogOpensBeginsAPeriod) {
    TrackingHarness h;
    QDialog dialog;
    auto* email = new TrackedLineEdit(&dialog, h.context);
    auto* password = new TrackedLineEdit(&dialog, h.context);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(email);
    layout->addWidget(password);
    password->setFieldTag("Password");
    password->setFocus();
    ASSERT_TRUE(showActive(dialog));
    QTest::keyClicks(password, "abc");
    email->setFocus(Qt::TabFocusReason);
    h.run();
    EXPECT_EQ(valuesOf(h.activityStreams(), "keystrokes"), std::vector<std::string>{"3"});
}

TEST(TrackedLineEditTest, ATouchGivesItsPressureAndPosition) {
    TrackingHarness h;
    LoginForm form(h);
    ASSERT_TRUE(showActive(form.window));
    // What Qt delivered, to compare with what the field kept.
    struct Recorder : QObject {
        bool eventFilter(QObject*, QEvent* event) override {
            if (event->type() == QEvent::TouchBegin) {
                pressure = static_cast<QTouchEvent*>(event)->points().first().pressure();
                seen = true;
            }
            return false;
        }
        double pressure = -1;
        bool seen = false;
    } recorder;
    form.password->installEventFilter(&recorder);

    std::unique_ptr<QPointingDevice> screen(QTest::createTouchDevice());  // unregisters itself when deleted
    QTest::touchEvent(&form.window, screen.get()).press(0, form.password->mapTo(&form.window, QPoint(30, 5)));
    QTest::touchEvent(&form.window, screen.get()).release(0, form.password->mapTo(&form.window, QPoint(30, 5)));

    ASSERT_TRUE(recorder.seen);
    EXPECT_DOUBLE_EQ(form.password->tracking().touchForce(), recorder.pressure);
    EXPECT_EQ(form.password->tracking().touchPosition(), (ViewPoint{30, 5}));
}

TEST(TextWatcherTest, EditorsInsideAnAdopterReportWithItsTag) {
    TrackingHarness h;
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* emailGroup = new TrackedFieldGroup;
    ASSERT_TRUE(emailGroup->setFieldTag("LoginID"));
    auto* emailLine = new QLineEdit(new QWidget(emailGroup));  // two levels down
    auto* notesGroup = new TrackedFieldGroup;
    ASSERT_TRUE(notesGroup->setFieldTag("BillingAddressLine1"));
    auto* notes = new QPlainTextEdit(notesGroup);
    auto* loose = new QTextEdit;  // in no adopter
    layout->addWidget(emailGroup);
    layout->addWidget(notesGroup);
    layout->addWidget(loose);

    TextWatcher watcher(nullptr, h.context);
    watcher.startTracking();
    ASSERT_TRUE(showActive(window));

    const struct {
        QWidget* editor;
        const char* text;
    } typing[] = {{emailLine, "me@example.org"}, {notes, "1 Main St"}, {loose, "nothing"}};
    for (const auto& step : typing) {
        step.editor->setFocus(Qt::TabFocusReason);
        h.main->advance(1s);
        QTest::keyClicks(step.editor, step.text);
    }
    emailLine->setFocus(Qt::TabFocusReason);
    h.run();

    const auto reports = h.activityStreams();
    EXPECT_EQ(valuesOf(reports, "element"), (std::vector<std::string>{"LoginID", "BillingAddressLine1"}));
    EXPECT_EQ(valuesOf(reports, "keystrokes"), (std::vector<std::string>{"14", "9"}));
    EXPECT_EQ(valuesOf(reports, "duration"), (std::vector<std::string>{"1000", "1000"}));
}

TEST(TextWatcherTest, HearsTrackedLineEditsAndStopsWhenAsked) {
    TrackingHarness h;
    TrackedFieldGroup group;
    ASSERT_TRUE(group.setFieldTag("DeliveryRecipient"));
    auto* layout = new QVBoxLayout(&group);
    auto* field = new TrackedLineEdit(&group, h.context);
    field->setFieldTag("Undefined");  // the field itself skips reporting; the watcher does not
    auto* other = new QLineEdit(&group);
    layout->addWidget(field);
    layout->addWidget(other);

    TextWatcher watcher(nullptr, h.context);
    watcher.startTracking();
    ASSERT_TRUE(showActive(group));
    field->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(field, "555");
    other->setFocus(Qt::TabFocusReason);
    h.run();
    EXPECT_EQ(valuesOf(h.activityStreams(), "element"), std::vector<std::string>{"DeliveryRecipient"});

    watcher.stopTracking();
    QTest::keyClicks(other, "12");
    field->setFocus(Qt::TabFocusReason);
    h.run();
    EXPECT_EQ(h.activityStreams().size(), 1u);
}

TEST(TextWatcherTest, AContextMenuKeepsThePeriodAndAnotherEditorEndsIt) {
    TrackingHarness h;
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* city = new TrackedFieldGroup;
    city->setFieldTag("BillingCity");
    auto* cityLine = new QLineEdit(city);
    auto* postal = new TrackedFieldGroup;
    postal->setFieldTag("BillingPostalCode");
    auto* postalLine = new QLineEdit(postal);
    layout->addWidget(city);
    layout->addWidget(postal);
    TextWatcher watcher(nullptr, h.context);
    watcher.startTracking();
    cityLine->setFocus();
    ASSERT_TRUE(showActive(window));
    QTest::keyClicks(cityLine, "Lyon");

    // A context menu takes the focus and gives it back.
    QFocusEvent toMenu(QEvent::FocusOut, Qt::PopupFocusReason);
    QCoreApplication::sendEvent(cityLine, &toMenu);
    QFocusEvent back(QEvent::FocusIn, Qt::PopupFocusReason);
    QCoreApplication::sendEvent(cityLine, &back);
    h.run();
    EXPECT_TRUE(h.activityStreams().empty());

    // The focus leaves for the menu and lands elsewhere without coming back.
    QCoreApplication::sendEvent(cityLine, &toMenu);
    QFocusEvent elsewhere(QEvent::FocusIn, Qt::OtherFocusReason);
    QCoreApplication::sendEvent(postalLine, &elsewhere);
    h.run();
    EXPECT_EQ(valuesOf(h.activityStreams(), "element"), std::vector<std::string>{"BillingCity"});
    EXPECT_EQ(valuesOf(h.activityStreams(), "keystrokes"), std::vector<std::string>{"4"});
}

// However the editor got its own tag, and whenever the watcher first hears
// of it, its period carries that tag and the press that focused it; without
// installPropertyTracking().
TEST(TextWatcherTest, AnEditorsOwnTagLabelsItsPeriodsWithThePressThatFocusedIt) {
    enum class Route { call, propertyBeforeShow, propertyOnAFormShownBeforeTheWatcher, propertySetWhileShown };
    const struct {
        const char* name;
        Route route;
    } routes[] = {
        {"trackField", Route::call},
        {"property set before the form is shown", Route::propertyBeforeShow},
        {"property on a form shown before the watcher started", Route::propertyOnAFormShownBeforeTheWatcher},
        {"property set while the form is shown", Route::propertySetWhileShown},
    };
    for (const auto& r : routes) {
        SCOPED_TRACE(r.name);
        TrackingHarness h;
        QWidget window;
        auto* layout = new QVBoxLayout(&window);
        auto* password = new QLineEdit;  // in no adopter
        auto* next = new QLineEdit;
        layout->addWidget(password);
        layout->addWidget(next);
        next->setFocus();
        const auto setTag = [password] { password->setProperty("quarraFieldTag", QString::fromUtf8("Password")); };

        TextWatcher watcher(nullptr, h.context);
        if (r.route == Route::call) {
            ASSERT_TRUE(trackField(password, FieldTags::Password, h.context));
        }
        if (r.route == Route::propertyBeforeShow) setTag();
        if (r.route == Route::propertyOnAFormShownBeforeTheWatcher) {
            setTag();
            ASSERT_TRUE(showActive(window));
        }
        watcher.startTracking();
        ASSERT_TRUE(showActive(window));
        if (r.route == Route::propertySetWhileShown) setTag();

        QTest::mouseClick(password, Qt::LeftButton, {}, QPoint(12, 7));  // the press gives the focus
        ASSERT_TRUE(password->hasFocus());
        h.main->advance(2s);
        QTest::keyClicks(password, "hunter2");
        next->setFocus(Qt::TabFocusReason);
        h.run();

        const auto reports = h.activityStreams();
        ASSERT_EQ(reports.size(), 1u);
        EXPECT_EQ(reports[0]["element"], "Password");
        EXPECT_EQ(reports[0]["keystrokes"], "7");
        EXPECT_EQ(reports[0]["duration"], "2000");
        EXPECT_EQ(reports[0].value("xposition", ""), "12.0");
        EXPECT_EQ(reports[0].value("yposition", ""), "7.0");
        EXPECT_EQ(reports[0].value("pressure", ""), "0.0");  // a mouse has no force
    }
}

// Tagged in the middle of a period its group labels: what was typed so far
// is the group's; the periods after carry the editor's own tag, and the
// group's as for a TrackedLineEdit inside it.
TEST(TextWatcherTest, AnOwnTagGivenMidPeriodLeavesThatPeriodToTheGroup) {
    TrackingHarness h;
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* group = new TrackedFieldGroup;
    ASSERT_TRUE(group->setFieldTag("LoginID"));
    auto* field = new QLineEdit(group);
    auto* next = new QLineEdit;  // in no adopter
    layout->addWidget(group);
    layout->addWidget(next);
    TextWatcher watcher(nullptr, h.context);
    watcher.startTracking();
    field->setFocus();
    ASSERT_TRUE(showActive(window));
    QTest::keyClicks(field, "me");
    field->setProperty("quarraFieldTag", QString::fromUtf8("Password"));
    next->setFocus(Qt::TabFocusReason);
    h.run();
    EXPECT_EQ(valuesOf(h.activityStreams(), "element"), std::vector<std::string>{"LoginID"});
    EXPECT_EQ(valuesOf(h.activityStreams(), "keystrokes"), std::vector<std::string>{"2"});

    QTest::mouseClick(field, Qt::LeftButton, {}, QPoint(3, 4));
    QTest::keyClicks(field, "abc");
    next->setFocus(Qt::TabFocusReason);
    h.run();
    auto reports = h.activityStreams();
    ASSERT_EQ(reports.size(), 3u);
    reports.erase(reports.begin());
    const auto byElement = [](const JSONDictionary& a, const JSONDictionary& b) {
        return a["element"].get<std::string>() < b["element"].get<std::string>();
    };
    std::sort(reports.begin(), reports.end(), byElement);  // the two controls hear the end in either order
    EXPECT_EQ(valuesOf(reports, "element"), (std::vector<std::string>{"LoginID", "Password"}));
    EXPECT_EQ(valuesOf(reports, "keystrokes"), (std::vector<std::string>{"3", "3"}));
    EXPECT_EQ(reports[1].value("xposition", ""), "3.0");  // only the editor's own control has the touch
    EXPECT_NE(reports[0].value("xposition", ""), "3.0");
}

TEST(TrackedFieldGroupTest, OnlyKnownTagsAreTaken) {
    TrackedFieldGroup group;
    EXPECT_EQ(group.fieldTag(), "Undefined");
    EXPECT_TRUE(group.setFieldTag("Password"));
    EXPECT_FALSE(group.setFieldTag("password"));
    EXPECT_FALSE(group.setFieldTag("None"));
    EXPECT_EQ(group.fieldTag(), "Password");
}

}  // namespace
}  // namespace quarra::qt
