// The Collector's signals arrive on the GUI thread whatever thread answers.
#include <QSignalSpy>
#include <QThread>
#include <atomic>
#include <functional>
#include <mutex>
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

// The library answers true or false; what moved in the delivery counters
// between handing the report in and its answer tells a false apart.
TEST(CollectorTest, EachAnswerIsSettledAsAcceptedRefusedQueuedOrDropped) {
    using Health = DataCollectorService::Health;
    const struct {
        const char* name;
        bool answer;
        std::function<void(Health&)> meanwhile;  // what the library counted before answering
        Collector::Outcome outcome;
    } cases[] = {
        {"accepted", true, [](Health& h) { ++h.accepted; }, Collector::Outcome::accepted},
        {"collection ignored", false, [](Health& h) { ++h.refused; }, Collector::Outcome::refused},
        {"kept for a resend", false, [](Health& h) { ++h.queued; }, Collector::Outcome::queued},
        {"kept in a full outbox", false, [](Health& h) { ++h.dropped.bound; }, Collector::Outcome::queued},
        {"switched off by the session", false, [](Health& h) { ++h.dropped.disabledFeature; },
         Collector::Outcome::dropped},
        {"not writable as JSON", false, [](Health& h) { ++h.dropped.notSerialisable; }, Collector::Outcome::dropped},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::mutex mutex;
        Health counted;
        counted.refused = 3;  // earlier reports' answers count for nothing
        counted.dropped.disabledFeature = 2;
        Collector collector([&] {
            std::lock_guard lock(mutex);
            return counted;
        });
        QSignalSpy answered(&collector, &Collector::reportAnswered);
        QSignalSpy settled(&collector, &Collector::reportSettled);
        auto completion = collector.reportCompletion(Collector::Report::userEvents);
        std::thread worker([&] {
            {
                std::lock_guard lock(mutex);
                c.meanwhile(counted);
            }
            completion(c.answer);
        });
        worker.join();
        QCoreApplication::processEvents();
        ASSERT_EQ(settled.size(), 1);
        EXPECT_EQ(settled[0][0].value<Collector::Report>(), Collector::Report::userEvents);
        EXPECT_EQ(settled[0][1].value<Collector::Outcome>(), c.outcome);
        ASSERT_EQ(answered.size(), 1);
        EXPECT_EQ(answered[0][1].toBool(), c.answer);  // the old signal goes on as it was
    }
}

// A host relaying all its reports through one completion, made once.
TEST(CollectorTest, OneCompletionAnsweringManyReportsTellsEachApart) {
    using Health = DataCollectorService::Health;
    std::mutex mutex;
    Health counted;
    Collector collector([&] {
        std::lock_guard lock(mutex);
        return counted;
    });
    QSignalSpy settled(&collector, &Collector::reportSettled);
    auto completion = collector.reportCompletion(Collector::Report::activityStream);
    const auto count = [&](auto change) {
        std::lock_guard lock(mutex);
        change(counted);
    };
    std::thread worker([&] {
        count([](Health& h) { ++h.refused; });
        completion(false);
        completion(false);  // nothing more refused: this one waits for a resend
        completion(true);
        count([](Health& h) { ++h.dropped.disabledFeature; });
        completion(false);
        completion(false);
    });
    worker.join();
    QCoreApplication::processEvents();
    std::vector<Collector::Outcome> outcomes;
    for (const auto& signal : settled) outcomes.push_back(signal[1].value<Collector::Outcome>());
    using O = Collector::Outcome;
    EXPECT_EQ(outcomes, (std::vector<O>{O::refused, O::queued, O::accepted, O::dropped, O::queued}));
}

TEST(CollectorTest, AnAnswerAfterTheCollectorIsGoneIsDroppedAndReadsNothingOfIt) {
    // The host's source, as it may be: reaching into an object that goes with the Collector.
    auto reads = std::make_unique<std::atomic<int>>(0);
    auto collector = std::make_unique<Collector>([counter = reads.get()] {
        ++*counter;
        return DataCollectorService::Health{};
    });
    auto answeredFirst = collector->reportCompletion(Collector::Report::userData);
    auto answeredLater = collector->reportCompletion(Collector::Report::userEvents);
    bool answered = false;
    QObject::connect(collector.get(), &Collector::reportAnswered, [&answered] { answered = true; });
    std::thread before([answeredFirst] { answeredFirst(true); });
    before.join();
    collector.reset();
    const int readsWhileAlive = reads->load();
    std::thread after([answeredLater] { answeredLater(false); });
    after.join();
    QCoreApplication::processEvents();
    EXPECT_FALSE(answered);
    EXPECT_EQ(reads->load(), readsWhileAlive);
}

}  // namespace
}  // namespace quarra::qt
