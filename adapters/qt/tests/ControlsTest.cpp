// Clicks and touches on the tracked button, widget, table, cell and picker.
#include <QHBoxLayout>
#include <QLabel>
#include <QScrollBar>
#include <QStandardItemModel>
#include <chrono>
#include <gmock/gmock.h>

#include <quarra/qt/TrackedCellWidget.hpp>
#include <quarra/qt/TrackedPicker.hpp>
#include <quarra/qt/TrackedPushButton.hpp>
#include <quarra/qt/TrackedScreens.hpp>
#include <quarra/qt/TrackedTableView.hpp>
#include <quarra/qt/TrackedWidget.hpp>

#include "QtTestSupport.hpp"

namespace quarra::qt {
namespace {

using namespace std::chrono_literals;
using quarra::testing::TrackingHarness;
using testing::showActive;
using testing::valuesOf;

TEST(TrackedPushButtonTest, EachClickIsAUserEventWithItsTouch) {
    struct Case {
        const char* name;
        bool sample;
        size_t accelerometerReports;
    };
    const Case cases[] = {{"no accelerometer reading", false, 0}, {"with a reading", true, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TrackingHarness h;
        QWidget window;
        auto* button = new TrackedPushButton("Log in", &window, h.context);
        button->resize(120, 40);
        button->setTrackingAction("LoginAttempt");
        ASSERT_TRUE(showActive(window));

        QTest::mouseClick(button, Qt::LeftButton);  // starts the accelerometer
        if (c.sample) h.accelerometer->deliver({0.1, -0.2, -0.98});
        h.main->advance(1s);
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(20, 11));
        h.run();

        const auto events = h.userEvents();
        ASSERT_EQ(events.size(), 2u);
        EXPECT_EQ(events[1]["userEventType"], "LoginAttempt");
        EXPECT_EQ(events[1]["pressure"], "0.0");
        EXPECT_EQ(events[1]["xposition"], "20.0");
        EXPECT_EQ(events[1]["yposition"], "11.0");
        EXPECT_EQ(h.accelerometerReports().size(), c.accelerometerReports);
    }
}

TEST(TrackedPushButtonTest, AnUnknownActionIsToldOnceAndNothingIsSent) {
    TrackingHarness h;
    QWidget window;
    auto* button = new TrackedPushButton("Go", &window, h.context);
    button->setTrackingAction("Teleport");
    EXPECT_EQ(button->trackingAction(), "");
    ASSERT_TRUE(showActive(window));
    QTest::mouseClick(button, Qt::LeftButton);
    QTest::mouseClick(button, Qt::LeftButton);
    h.run();
    EXPECT_TRUE(h.userEvents().empty());
    int told = 0;
    for (const auto& line : h.lines->lines()) told += line.find("TrackingButton") != std::string::npos;
    EXPECT_EQ(told, 1);
}

TEST(TrackedPushButtonTest, APressAlsoReachesTheScreenAroundIt) {
    TrackingHarness h;
    TrackedScreen screen(nullptr, h.context);
    auto* panel = new QWidget(&screen);
    panel->move(50, 30);
    auto* button = new TrackedPushButton("Add", panel, h.context);
    button->move(10, 5);
    button->setTrackingAction("AddToCart");
    ASSERT_TRUE(showActive(screen));

    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(4, 6));
    h.run();
    EXPECT_DOUBLE_EQ(h.values->lastScreenTouch.x, 64);  // 50 + 10 + 4
    EXPECT_DOUBLE_EQ(h.values->lastScreenTouch.y, 41);  // 30 + 5 + 6
    EXPECT_EQ(h.userEvents().size(), 1u);
}

TEST(TrackedWidgetTest, PressesOnChildrenAreHitTestedAndKept) {
    TrackingHarness h;
    TrackedWidget container(nullptr, h.context);
    container.resize(200, 100);
    auto* label = new QLabel("Pick me", &container);
    label->setGeometry(100, 40, 80, 20);
    ASSERT_TRUE(showActive(container));

    QTest::mousePress(label, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(label, Qt::LeftButton, {}, QPoint(7, 9));
    EXPECT_TRUE(h.lines->contains("Tap QLabel at (105.0, 45.0)"));
    EXPECT_DOUBLE_EQ(container.tracking().touchStartX(), 105);
    EXPECT_DOUBLE_EQ(container.tracking().touchStartY(), 45);
}

TEST(TrackedTableViewTest, ScrollBarDragsKeepTheOffsets) {
    QStandardItemModel model(200, 3);
    TrackedTableView table;
    table.setModel(&model);
    table.resize(200, 150);
    ASSERT_TRUE(showActive(table));
    QScrollBar* bar = table.verticalScrollBar();
    ASSERT_GT(bar->maximum(), 100);

    bar->setValue(40);
    emit bar->sliderPressed();
    bar->setValue(95);
    emit bar->sliderReleased();
    EXPECT_DOUBLE_EQ(table.tracking().inY(), 40);
    EXPECT_DOUBLE_EQ(table.tracking().enY(), 95);
    EXPECT_FALSE(table.tracking().hitTestOnce());

    QTest::mouseClick(table.viewport(), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_TRUE(table.tracking().hitTestOnce());
}

TEST(TrackedCellWidgetTest, KeepsTheLastPressAndHitTestsTapsOnlyWithARecogniser) {
    TrackedCellWidget cell;
    cell.resize(100, 30);
    ASSERT_TRUE(showActive(cell));
    QTest::mouseClick(&cell, Qt::LeftButton, {}, QPoint(8, 9));
    EXPECT_EQ(cell.tracking().touchPosition(), (ViewPoint{8, 9}));
    EXPECT_FALSE(cell.tracking().hasTapRecognizer());
    cell.awakeFromNib();
    EXPECT_TRUE(cell.tracking().hasTapRecognizer());
}

TEST(TrackedPickerTest, EachVisiblePeriodIsReported) {
    TrackingHarness h;
    QWidget window;
    auto* picker = new TrackedPicker(&window, h.context);
    picker->setFieldTag("LoginPickerView");
    picker->addItems({"female", "male", "other"});
    picker->hide();
    ASSERT_TRUE(showActive(window));
    h.run();
    EXPECT_TRUE(h.activityStreams().empty());  // never shown yet

    for (auto visible : {3s, 5s}) {
        picker->show();
        h.main->advance(visible);
        picker->hide();
    }
    h.run();
    const auto reports = h.activityStreams();
    EXPECT_EQ(valuesOf(reports, "element"), (std::vector<std::string>{"LoginPickerView", "LoginPickerView"}));
    EXPECT_EQ(valuesOf(reports, "duration"), (std::vector<std::string>{"3000", "5000"}));
}

TEST(TrackedPickerTest, ShowingAShownPickerRestartsItsPeriod) {
    TrackingHarness h;
    TrackedPicker picker(nullptr, h.context);
    picker.setFieldTag("BillingCountryCode");
    ASSERT_TRUE(showActive(picker));
    h.main->advance(4s);
    picker.tracking().setHidden(false);  // shown again while shown
    h.main->advance(1s);
    picker.hide();
    h.run();
    EXPECT_EQ(valuesOf(h.activityStreams(), "duration"), std::vector<std::string>{"1000"});
}

}  // namespace
}  // namespace quarra::qt
