#include <quarra/qt/Collector.hpp>

#include <QCoreApplication>
#include <QPointer>
#include <exception>
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

}  // namespace

Collector::Collector(QObject* parent) : Collector(HealthSource(sharedHealth), parent) {}

Collector::Collector(HealthSource source, QObject* parent) : QObject(parent), health_(std::move(source)) {}

Collector::~Collector() = default;

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

DataCollectorService::Health Collector::health() const {
    try {
        return health_ ? health_() : DataCollectorService::Health{};
    } catch (...) {
        return {};  // a host's source must not unwind into Qt
    }
}

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

DataCollectorService::BoolCompletion Collector::reportCompletion(Report kind) {
    return [self = QPointer<Collector>(this), kind](bool accepted) {
        onGuiThread(self, [kind, accepted](Collector& c) { c.answerReport(kind, accepted); });
    };
}

// The health is read on the GUI thread, after the answer is in.
void Collector::answerReport(Report kind, bool accepted) {
    emit reportAnswered(kind, accepted);
    DataCollectorService::Health now = health();
    if (sameHealth(now, lastHealth_)) return;
    lastHealth_ = std::move(now);
    emit healthChanged();
}

}  // namespace quarra::qt
