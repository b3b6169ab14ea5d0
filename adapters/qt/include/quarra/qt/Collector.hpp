#pragma once
/**
 * @file
 * @brief The library's outcomes as Qt signals on the GUI thread: session key,
 * start of collection, each report's answer, delivery health.
 *
 * The library answers on its own threads (see DataCollectorService); this
 * facade carries each answer to the GUI thread, so that a slot may touch
 * widgets without marshalling it back itself.
 */
#include <quarra/qt/Export.hpp>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>

#include <quarra/DataCollectorService.hpp>
#include <quarra/Json.hpp>

namespace quarra::qt {

/**
 * @brief A QObject whose signals carry the outcomes a host shows or acts on.
 *
 * Every signal is emitted on the thread the Collector lives on (the GUI
 * thread), whatever thread the library answered on.
 *
 * @par Thread
 * Made, used and destroyed on the GUI thread. The completions it hands out
 * may run on any thread.
 * @par Lifetime
 * A QObject: owned by `parent` when given. An answer that arrives after the
 * Collector is destroyed is dropped; so is one arriving once the
 * QCoreApplication is gone.
 * @par Blocking
 * Never blocks: calls are handed to the library, answers are queued to the
 * GUI thread. health(), which each send and reportCompletion() read, only
 * reads counters (DataCollectorService::health()).
 */
class QUARRA_QT_API Collector : public QObject {
    Q_OBJECT

public:
    /// Which kind of report an answer is for.
    enum class Report {
        userData,          ///< DataCollectorService::sendUserData().
        userEvents,        ///< DataCollectorService::sendUserEvents().
        activityStream,    ///< DataCollectorService::sendActivityStream().
        accelerometerData  ///< DataCollectorService::sendAccelerometerData().
    };
    Q_ENUM(Report)
    /**
     * @brief What became of a report, as far as the delivery counters tell.
     *
     * The library answers a report with true or false only; a false answer is
     * told apart by the health counters (see health()) read as it comes, on
     * the thread it comes on, against those read at the completion's previous
     * answer (or when it was made). The counters are the whole process's: a
     * report refused or given up in between (collection switched off
     * meanwhile, say) makes this one read the same.
     */
    enum class Outcome {
        accepted,  ///< The collector accepted it.
        refused,   ///< Answered false unsent: collection ignored, or the library shut down.
        queued,    ///< Kept in the outbox for a later resend; one a full outbox could not keep reads so too.
        dropped    ///< Given up: the session's settings switch the report off, or it cannot be written as JSON.
    };
    Q_ENUM(Outcome)
    /// Where the delivery health is read from: on the GUI thread, and on the
    /// thread each report's answer comes on (a library thread), never once the
    /// Collector is destroyed. It must be safe there and must not wait for the
    /// GUI thread: the Collector's destructor waits for a read in progress.
    using HealthSource = std::function<DataCollectorService::Health()>;

    /// A facade of the shared service (DataCollectorService::defaultService(), built on first use).
    explicit Collector(QObject* parent = nullptr);
    /// A facade reading the health from `source` (a test's, or a host's own); calls still go to the shared service.
    explicit Collector(HealthSource source, QObject* parent = nullptr);
    /// Later answers are dropped.
    ~Collector() override;

    /// DataCollectorService::authenticateUser(), answered by sessionKeyReceived() and collectionStarted().
    void authenticateUser(const QString& userName, const QString& secretKey, const QString& customerName);
    /// DataCollectorService::sendUserData(), answered by reportAnswered().
    void sendUserData(JSONDictionary report);
    /// DataCollectorService::sendUserEvents(), answered by reportAnswered().
    void sendUserEvents(JSONDictionary report);
    /// DataCollectorService::sendActivityStream(), answered by reportAnswered().
    void sendActivityStream(JSONDictionary report);
    /// The delivery so far (DataCollectorService::health(), or the source given).
    DataCollectorService::Health health() const;

    /**
     * @name Completions for a host that calls the service itself
     * Each may run on any thread, once or more; it emits the signal named on
     * the GUI thread.
     */
    //@{
    /// Emits sessionKeyReceived().
    DataCollectorService::StringCompletion sessionKeyCompletion();
    /// Emits collectionStarted().
    DataCollectorService::BoolCompletion collectionStartedCompletion();
    /// Emits reportAnswered() and reportSettled() for `kind`, then healthChanged() when the health moved.
    /// It reads the health when made (building the library on first use, as a
    /// send does: configure first) and at each answer, to tell the outcome.
    DataCollectorService::BoolCompletion reportCompletion(Report kind);
    //@}

signals:
    /// The session key authentication gave ("" when there is none).
    void sessionKeyReceived(const QString& sessionKey);
    /// Collection started (true) or was refused by ignoreDataCollection() (false).
    void collectionStarted(bool started);
    /// A report's answer: true when the collector accepted it, false when it was refused, queued for a resend or dropped.
    void reportAnswered(quarra::qt::Collector::Report kind, bool accepted);
    /// The same answer, told apart (see Outcome); emitted right after reportAnswered().
    void reportSettled(quarra::qt::Collector::Report kind, quarra::qt::Collector::Outcome outcome);
    /// The delivery health differs from the last one this Collector saw (see health()).
    void healthChanged();

private:
    void answerReport(Report kind, Outcome outcome);

    // The source, shared with the completions; emptied when the Collector goes.
    struct Source;
    std::shared_ptr<Source> health_;
    DataCollectorService::Health lastHealth_;
};

}  // namespace quarra::qt
