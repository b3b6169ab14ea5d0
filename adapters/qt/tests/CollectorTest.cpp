// The Collector's signals arrive on the GUI thread whatever thread answers.
#include <QSignalSpy>
#include <QThread>
#include <atomic>
#include <thread>
#include <gmock/gmock.h>

#include <quarra/qt/Collector.hpp>

#include "QtTestSupport.hpp"

namespace quarra::qt {
namespace {

TEST(CollectorTest, AnswersFromLibraryThreadsAreSignalledOnTheGuiThread) {
    std::atomic<uint64_t> accepted{0};
    Collector collector([&accepted] {
        DataCollectorService::Health health;
        health.accepted = accepted.load();
        return health;
    });
    std::vector<QThread*> threads;
    auto record = [&threads] { threads.push_back(QThread::currentThread()); };
    QObject::connect(&collector, &Collector::sessionKeyReceived, record);
    QObject::connect(&collector, &Collector::collectionStarted, record);
    QObject::connect(&collector, &Collector::reportAnswered, record);
    QSignalSpy keys(&collector, &Collector::sessionKeyReceived);
    QSignalSpy started(&collector, &Collector::collectionStarted);
    QSignalSpy answers(&collector, &Collector::reportAnswered);
    QSignalSpy health(&collector, &Collector::healthChanged);

    auto key = collector.sessionKeyCompletion();
    auto start = collector.collectionStartedCompletion();
    auto events = collector.reportCompletion(Collector::Report::userEvents);
    auto stream = collector.reportCompletion(Collector::Report::activityStream);
    std::thread worker([&] {
        key("session-1");
        start(true);
        accepted.store(1);
        events(true);
        stream(false);  // queued: the health did not move
    });
    worker.join();

    QTRY_COMPARE(answers.size(), 2);
    ASSERT_EQ(keys.size(), 1);
    EXPECT_EQ(keys[0][0].toString(), QStringLiteral("session-1"));
    ASSERT_EQ(started.size(), 1);
    EXPECT_TRUE(started[0][0].toBool());
    EXPECT_EQ(answers[0][0].value<Collector::Report>(), Collector::Report::userEvents);
    EXPECT_TRUE(answers[0][1].toBool());
    EXPECT_EQ(answers[1][0].value<Collector::Report>(), Collector::Report::activityStream);
    EXPECT_FALSE(answers[1][1].toBool());
    EXPECT_EQ(health.size(), 1);
    EXPECT_EQ(threads, std::vector<QThread*>(4, QCoreApplication::instance()->thread()));
}

TEST(CollectorTest, AnAnswerAfterTheCollectorIsGoneIsDropped) {
    auto collector = std::make_unique<Collector>(Collector::HealthSource{});
    auto completion = collector->reportCompletion(Collector::Report::userData);
    bool answered = false;
    QObject::connect(collector.get(), &Collector::reportAnswered, [&answered] { answered = true; });
    std::thread worker([completion] { completion(true); });
    worker.join();
    collector.reset();
    QCoreApplication::processEvents();
    EXPECT_FALSE(answered);
}

}  // namespace
}  // namespace quarra::qt
