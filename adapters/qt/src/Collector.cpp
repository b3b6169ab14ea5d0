#include <quarra/qt/Collector.hpp>

#include <QCoreApplication>
#include <QPointer>
#include <algorithm>
#include <cstdint>
#include <exception>
#include <memory>
#include <mutex>
#include <utility>

namespace quarra::qt {
namespace {

// Runs `task` on the collector's thread if the collector is still there.
// The QPointer is only read there; copying it elsewhere touches atomics only.
template <class Task>
void onGuiThread(const QPointer<Collector>& collector, Task task) {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app) return;
    QMetaObject::invokeMethod(
        app,
        [collector, task = std::move(task)]() mutable {
            if (collector) task(*collector);
        },
        Qt::QueuedConnection);
}

// What a host sees move; timestamps and texts follow these.
bool sameHealth(const DataCollectorService::Health& a, const DataCollectorService::Health& b) {
    return a.submitted == b.submitted && a.restored == b.restored && a.accepted == b.accepted &&
           a.refused == b.refused && a.queued == b.queued && a.inFlight == b.inFlight &&
           a.dropped.total() == b.dropped.total() && a.session == b.session &&
           a.lastError.has_value() == b.lastError.has_value();
}

DataCollectorService::Health sharedHealth() { return DataCollectorService::defaultService().health(); }


// The counters a false answer moves before its completion runs; the queue's
// own count is left out, as resends and overflow move it either way.
struct FalseAnswers {
    uint64_t refused = 0;
    uint64_t givenUp = 0;  // switched off or not writable; never an overflow, which may push out another
};

FalseAnswers falseAnswers(const DataCollectorService::Health& health) {
    return {health.refused, health.dropped.disabledFeature + health.dropped.notSerialisable};
}

Collector::Outcome falseOutcome(const FalseAnswers& before, const FalseAnswers& after) {
    if (after.refused > before.refused) return Collector::Outcome::refused;
    if (after.givenUp > before.givenUp) return Collector::Outcome::dropped;
    return Collector::Outcome::queued;
}

}  // namespace

// A host's source may reach into objects that go with the Collector: a
// completion answering later must not call it then.
struct Collector::Source {
    std::mutex mutex;
    HealthSource read;

    DataCollectorService::Health health() {
        std::lock_guard lock(mutex);
        try {
            return read ? read() : DataCollectorService::Health{};
        } catch (...) {
            return {};  // a host's source must not unwind into Qt or the library
        }
    }
};

Collector::Collector(QObject* parent) : Collector(HealthSource(sharedHealth), parent) {}

Collector::Collector(HealthSource source, QObject* parent)
    : QObject(parent), health_(std::make_shared<Source>()) {
    health_->read = std::move(source);
}

Collector::~Collector() {
    std::lock_guard lock(health_->mutex);
    health_->read = nullptr;
}

void Collector::authenticateUser(const QString& userName, const QString& secretKey, const QString& customerName) {
    DataCollectorService::defaultService().authenticateUser(userName.toStdString(), secretKey.toStdString(),
                                                            customerName.toStdString(), sessionKeyCompletion(),
                                                            collectionStartedCompletion());
}

void Collector::sendUserData(JSONDictionary report) {
    DataCollectorService::defaultService().sendUserData(std::move(report), reportCompletion(Report::userData));
}

void Collector::sendUserEvents(JSONDictionary report) {
    DataCollectorService::defaultService().sendUserEvents(std::move(report), reportCompletion(Report::userEvents));
}

void Collector::sendActivityStream(JSONDictionary report) {
    DataCollectorService::defaultService().sendActivityStream(std::move(report),
                                                              reportCompletion(Report::activityStream));
}

DataCollectorService::Health Collector::health() const { return health_->health(); }

DataCollectorService::StringCompletion Collector::sessionKeyCompletion() {
    return [self = QPointer<Collector>(this)](const std::string& key) {
        onGuiThread(self, [key = QString::fromStdString(key)](Collector& c) { emit c.sessionKeyReceived(key); });
    };
}

DataCollectorService::BoolCompletion Collector::collectionStartedCompletion() {
    return [self = QPointer<Collector>(this)](bool started) {
        onGuiThread(self, [started](Collector& c) { emit c.collectionStarted(started); });
    };
}

// The library counts a false answer just before the completion runs, on the
// same thread: reading there, not later on the GUI thread, keeps the window
// in which other reports' answers blur this one's as short as it can be. A
// completion answering many reports moves its baseline on with each.
DataCollectorService::BoolCompletion Collector::reportCompletion(Report kind) {
    struct Baseline {
        std::mutex mutex;
        FalseAnswers seen;
    };
    auto baseline = std::make_shared<Baseline>();
    baseline->seen = falseAnswers(health());
    return [self = QPointer<Collector>(this), kind, source = health_, baseline](bool accepted) {
        const FalseAnswers now = falseAnswers(source->health());
        Outcome outcome = Outcome::accepted;
        {
            std::lock_guard lock(baseline->mutex);
            if (!accepted) outcome = falseOutcome(baseline->seen, now);
            // Two answers racing on two threads may read out of order.
            baseline->seen.refused = std::max(baseline->seen.refused, now.refused);
            baseline->seen.givenUp = std::max(baseline->seen.givenUp, now.givenUp);
        }
        onGuiThread(self, [kind, outcome](Collector& c) { c.answerReport(kind, outcome); });
    };
}

// The health is read on the GUI thread, after the answer is in.
void Collector::answerReport(Report kind, Outcome outcome) {
    emit reportAnswered(kind, outcome == Outcome::accepted);
    emit reportSettled(kind, outcome);
    DataCollectorService::Health now = health();
    if (sameHealth(now, lastHealth_)) return;
    lastHealth_ = std::move(now);
    emit healthChanged();
}

}  // namespace quarra::qt
