// The main-queue executor on the Qt event loop, and the screen orientation.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QScreen>
#include <QThread>
#include <atomic>
#include <chrono>
#include <gmock/gmock.h>
#include <thread>
#include <vector>

#include <quarra/qt/MainQueueExecutor.hpp>
#include <quarra/qt/ScreenOrientation.hpp>

namespace quarra::qt {
namespace {

using namespace std::chrono_literals;

// Runs the event loop until `done` or a generous limit; never a fixed wait.
template <typename Done>
bool spinUntil(Done done) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < 10000) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}

TEST(MainQueueExecutorTest, TasksFromAnyThreadRunInOrderOnTheGuiThread) {
    auto executor = makeMainQueueExecutor();
    std::vector<int> order;  // touched on the GUI thread only
    std::atomic<bool> offThread{false};
    std::thread poster([&] {
        for (int i = 0; i < 50; ++i) {
            executor->post([&order, &offThread, i] {
                if (QThread::currentThread() != QCoreApplication::instance()->thread()) offThread = true;
                order.push_back(i);
            });
        }
    });
    poster.join();
    ASSERT_TRUE(spinUntil([&] { return order.size() == 50; }));
    EXPECT_FALSE(offThread);
    for (int i = 0; i < 50; ++i) EXPECT_EQ(order[i], i);
}

TEST(MainQueueExecutorTest, DelayedTasksRunByDueTimeAndAThrowingTaskIsContained) {
    auto executor = makeMainQueueExecutor();
    std::vector<std::string> ran;
    executor->postAfter(30ms, [&] { ran.push_back("later"); });
    executor->post([] { throw std::runtime_error("host bug"); });
    executor->postAfter(0ms, [&] { ran.push_back("now"); });
    ASSERT_TRUE(spinUntil([&] { return ran.size() == 2; }));
    EXPECT_EQ(ran, (std::vector<std::string>{"now", "later"}));
}

TEST(MainQueueExecutorTest, PendingTasksAreDroppedWithTheExecutor) {
    bool ran = false;
    {
        auto executor = makeMainQueueExecutor();
        executor->post([&] { ran = true; });
    }
    bool marker = false;
    auto other = makeMainQueueExecutor();
    other->post([&] { marker = true; });
    ASSERT_TRUE(spinUntil([&] { return marker; }));
    EXPECT_FALSE(ran);
}

TEST(ScreenOrientationTest, FollowsThePrimaryScreen) {
    QScreen* screen = QGuiApplication::primaryScreen();
    ASSERT_NE(screen, nullptr);
    const auto expected = screen->orientation() == Qt::PortraitOrientation ? DeviceOrientation::portrait
                          : screen->orientation() == Qt::LandscapeOrientation ? DeviceOrientation::landscapeLeft
                                                                              : DeviceOrientation::unknown;
    auto source = primaryScreenOrientation();
    DeviceOrientation fromAnotherThread = DeviceOrientation::faceDown;
    std::thread([&] { fromAnotherThread = source(); }).join();
    EXPECT_EQ(fromAnotherThread, expected);
}

}  // namespace
}  // namespace quarra::qt
