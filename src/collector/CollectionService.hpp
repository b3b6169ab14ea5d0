#pragma once
// The collection service: per-report settings, the envelope, the one send
// path every report takes, answer handling, the queue and its resend pass.
//
// Everything but the getters runs on the library's worker (tests drive it
// from their one thread): the report operations are posted there by the
// public facade, and the transport hands its answers there. The getters and
// counts may be read from any thread.
#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include <quarra/DataCollectorService.hpp>
#include <quarra/Executor.hpp>
#include <quarra/Json.hpp>

#include "base/ConsoleLog.hpp"
#include "collector/DeliveryTracker.hpp"
#include "queue/EventStore.hpp"
#include <quarra/tracking/ReportSender.hpp>
#include "transport/APIError.hpp"
#include "transport/DataCollectorAPI.hpp"

namespace quarra {

class DataCollectorEventsQueue;
class HealthRecorder;
class ReverseGeocoder;
class RequestsManager;
class ServerLog;
class SessionConfigManager;

class CollectionService : public ReportSender, public std::enable_shared_from_this<CollectionService> {
public:
    struct Dependencies {
        RequestsManager* requestsManager = nullptr;
        DataCollectorEventsQueue* queue = nullptr;
        SessionConfigManager* sessionConfigManager = nullptr;
        ServerLog* logManager = nullptr;
        std::shared_ptr<Console> console;
        // The worker: answers of a geocoder that calls back on a thread of
        // its own come back here. Empty: they are handled where they arrive.
        std::shared_ptr<Executor> worker;
        std::shared_ptr<ReverseGeocoder> geocoder;  // place names for location reports
        HealthRecorder* health = nullptr;           // hears of failures and acceptances; may be null
        std::shared_ptr<Clock> clock;               // stamps each report; empty: the system clock
    };

    static std::shared_ptr<CollectionService> create(Dependencies dependencies);

    bool ignoreDataCollection() const { return ignoreDataCollection_.load(); }
    void setIgnoreDataCollection(bool ignore) { ignoreDataCollection_.store(ignore); }

    Region region() const { return region_; }
    const std::string& accountName() const { return accountName_; }
    const QuarraFPJSConfiguration& fingerprintData() const { return fingerprintData_; }
    std::string sessionKey() const;
    // Adopted by the start of collection; every later envelope carries it.
    void setSessionKey(std::string key);

    // The in-memory journal: envelopes sent, answers accepted, errors (most recent kept).
    std::vector<JSONDictionary> logsCollected() const;
    int64_t eventsToSync() const;
    bool isSendingQueuedEvents() const;
    DataCollectorService::Health health() const;

    // Per-report wrappers: feature check, endpoint value, "Request" record, send.
    // Each completion runs exactly once, on the worker.
    void sendUserData(JSONDictionary data, BoolCompletion completion = {});
    void sendUserEvents(JSONDictionary data, BoolCompletion completion = {}) override;
    void sendActivityStream(JSONDictionary data, BoolCompletion completion = {}) override;
    void sendAccelerometerData(JSONDictionary data, BoolCompletion completion = {}) override;
    // How many more fresh reports the worker takes in now (worker only): a
    // host's burst waits in the inbox, compact, not here.
    size_t freshRoom() const;
    // Called on the worker when room has been made (see freshRoom()).
    void setRoomListener(std::function<void()> listener) { roomListener_ = std::move(listener); }
    // One report of `reportCase` (the four above, the fingerprint), under the
    // settings of its feature; the wrappers above come here.
    void sendReport(DataCollectorAPI::Case reportCase, JSONDictionary data, BoolCompletion completion);
    // The same, its dictionary already written as compact JSON (by the
    // host's thread, while many reports wait).
    void sendEncodedReport(DataCollectorAPI::Case reportCase, std::string eventJSON, BoolCompletion completion);
    // Reverse-geocodes the coordinate, then sends the location report.
    void sendLocationData(double latitude, double longitude, BoolCompletion completion = {});
    void sendFingerprintData(const std::string& visitorId, const std::optional<std::string>& requestId,
                             const std::optional<std::string>& error);
    // A report the facade turned away after shutdown: counted, then answered false. Any thread.
    void refuseAfterShutdown(const BoolCompletion& completion);

    // Writes the outbox changes made so far and sends the reports waiting
    // for that write (write-ahead: none goes out before it is on disk).
    void commitAndSend();

    // The endpoint value a report is sent as, from the settings of its
    // feature; nullopt when the feature is disabled.
    std::optional<DataCollectorAPI> reportEndpoint(DataCollectorAPI::Case reportCase) const;
    // The "Request" record of a report at log level 2.
    void logRequest(const DataCollectorAPI& endpoint, const JSONDictionary& data) const;
    // Whether the applied log level asks for a record of each request.
    bool logsRequestRecords() const;

    // Resends the events queued at this moment, oldest first, a window of
    // them at a time; accepted ones leave the queue. Resends call no
    // completion: the report that started the pass has had its answer.
    void syncQueuedEvents();


    // Calls `settled` (on the worker) once every report handed in before
    // this call has its final answer and no resend pass is under way.
    void whenSettled(std::function<void()> settled);

    const Console& console() const { return *deps_.console; }
    const Dependencies& dependencies() const { return deps_; }

    static constexpr const char* kClientName = "shop.quarra-demo.com";
    static constexpr const char* kPageURL = "https://support.quarra-demo.com/hc/en-us/articles/welcome-to-the-help-centre";

private:
    explicit CollectionService(Dependencies dependencies);

    // What happened to a fresh report, for the counts.
    // `bound`: the outbox had no room for it and it was not accepted.
    enum class Outcome { accepted, refused, queued, disabledFeature, bound, notSerialisable };
    // A fresh report written ahead, waiting for the write and then for room
    // on the wire. Its dictionary stays in the outbox entry, not here.
    struct HeldSend {
        uint64_t entryId = 0;  // 0: the outbox could not keep it
        DataCollectorAPI type;
        std::string idempotencyKey;
        std::optional<std::string> eventJSON;  // only when the outbox could not keep it
        BoolCompletion completion;
    };
    // What an attempt's answer needs: not the report itself.
    struct Attempt {
        std::string path;
        uint64_t entryId = 0;
        bool resend = false;
        BoolCompletion completion;
    };
    using JournalEntry = std::variant<JSONDictionary, std::shared_ptr<const std::string>>;

    // Gives the report a ticket; the completion returned ends it, once.
    BoolCompletion track(BoolCompletion completion);
    void finishFresh(Outcome outcome, const BoolCompletion& completion, bool value);
    // The console line for a report that cannot be written as JSON.
    void sayNotEncodable(const DataCollectorAPI& event) const;
    void sendEvent(const DataCollectorAPI& event, JSONDictionary data, BoolCompletion completion);
    void sendEncodedEvent(const DataCollectorAPI& event, std::string eventJSON, BoolCompletion completion);
    // Commits the outbox before long: at once without a worker, else in a task
    // behind the ones already posted, so that reports that arrive together
    // are written together.
    void scheduleCommit();
    // An accepted report leaves the outbox with a write a little later, one
    // for every answer in that time: a write per answer would cost more than
    // the send. Should the process end first, the service knows the repeat by
    // its key.
    void scheduleRemovalCommit();
    static constexpr std::chrono::milliseconds kRemovalCommitDelay{100};
    void resendEvent(const StoredEvent& stored);
    // Sends held reports whose write is done while fewer than
    // limits::kMaxReportsInFlight fresh ones are on their way.
    void sendHeld();
    void freshAnswered();
    // One attempt of the report whose dictionary is `eventJSON`; `entryId`
    // names the outbox entry (0: none), `resend` tells a resent one.
    void deliver(const DataCollectorAPI& type, const std::string& idempotencyKey, std::string_view eventJSON,
                 uint64_t entryId, bool resend, BoolCompletion completion);
    void handleSendSuccess(const Attempt& attempt, const std::string& body);
    void handleSendFailure(const Attempt& attempt, const APIError& error);
    void appendToJournal(JournalEntry entry);
    // One resent event is answered (or skipped): the next one goes out, and
    // the pass ends when none are left.
    void resendAnswered(std::optional<uint64_t> queuedId);
    void sendNextResends();
    void onWorker(std::function<void()> task) const;

    Dependencies deps_;
    std::atomic<bool> ignoreDataCollection_{false};
    const Region region_ = Region::US;
    const std::string accountName_;
    const QuarraFPJSConfiguration fingerprintData_{Region::US, true, std::nullopt};

    struct Counts {
        std::atomic<uint64_t> submitted{0}, accepted{0}, refused{0}, resentAccepted{0}, resendPasses{0};
        std::atomic<uint64_t> disabledFeature{0}, bound{0}, notSerialisable{0};
    };
    Counts counts_;
    DeliveryTracker tracker_;  // worker only
    // Fresh reports not yet on their way, oldest first; the first
    // `heldCommitted_` are in the outbox on disk (worker only).
    std::deque<HeldSend> held_;
    size_t heldCommitted_ = 0;
    size_t freshInFlight_ = 0;
    bool sendingHeld_ = false;     // sendHeld() is on the stack
    std::function<void()> roomListener_;  // set once, before the first report
    bool commitScheduled_ = false;  // worker only
    bool removalCommitScheduled_ = false;  // worker only

    // The resend pass under way (worker only).
    struct Pass {
        std::deque<StoredEvent> waiting;  // not yet sent
        size_t inFlight = 0;
        bool pumping = false;  // sendNextResends() is on the stack
    };
    Pass pass_;

    mutable std::mutex mutex_;  // guards everything below
    std::deque<JournalEntry> logsCollected_;  // envelopes kept as the bytes sent
    int64_t eventsToSync_ = 0;
    bool isSendingQueuedEvents_ = false;
    std::string sessionKey_;
};

}  // namespace quarra
