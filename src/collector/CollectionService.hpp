#pragma once
// The collection service: per-report settings, the envelope, the one send
// path every report takes, answer handling, the queue and its resend pass.
#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include <quarra/DataCollectorService.hpp>
#include <quarra/Executor.hpp>
#include <quarra/Json.hpp>

#include "base/ConsoleLog.hpp"
#include "tracking/ReportSender.hpp"
#include "transport/APIError.hpp"
#include "transport/DataCollectorAPI.hpp"

namespace quarra {

class DataCollectorEventsQueue;
class ReverseGeocoder;
class LogManager;
class RequestsManager;
class SessionConfigManager;

class CollectionService : public ReportSender, public std::enable_shared_from_this<CollectionService> {
public:
    struct Dependencies {
        RequestsManager* requestsManager = nullptr;
        DataCollectorEventsQueue* queue = nullptr;
        SessionConfigManager* sessionConfigManager = nullptr;
        LogManager* logManager = nullptr;
        std::shared_ptr<Console> console;
        // Where reports are wrapped and handed to the transport; empty: on
        // the caller's thread.
        std::shared_ptr<Executor> worker;
        std::shared_ptr<ReverseGeocoder> geocoder;  // place names for location reports
    };

    static std::shared_ptr<CollectionService> shared();
    static std::shared_ptr<CollectionService> create(Dependencies dependencies);

    bool ignoreDataCollection() const { return ignoreDataCollection_.load(); }
    void setIgnoreDataCollection(bool ignore) { ignoreDataCollection_.store(ignore); }

    Region region() const { return region_; }
    const std::string& accountName() const { return accountName_; }
    const QuarraFPJSConfiguration& fingerprintData() const { return fingerprintData_; }
    std::string sessionKey() const;
    void setSessionKey(std::string key);

    // The in-memory journal: envelopes sent, answers accepted, errors (most recent kept).
    std::vector<JSONDictionary> logsCollected() const;
    int64_t eventsToSync() const;
    // Reports handed to the transport whose answer has not been handled yet.
    int64_t reportsInFlight() const { return inFlight_.load(); }
    bool isSendingQueuedEvents() const;

    // Per-report wrappers: feature check, endpoint value, "Request" record, send.
    void sendUserData(JSONDictionary data, BoolCompletion completion = {});
    void sendUserEvents(JSONDictionary data, BoolCompletion completion = {}) override;
    void sendActivityStream(JSONDictionary data, BoolCompletion completion = {}) override;
    void sendAccelerometerData(JSONDictionary data, BoolCompletion completion = {}) override;
    // Reverse-geocodes the coordinate, then sends the location report.
    void sendLocationData(double latitude, double longitude, BoolCompletion completion = {});
    void sendFingerprintData(const std::string& visitorId, const std::optional<std::string>& requestId,
                             const std::optional<std::string>& error);

    // The endpoint value a report is sent as, from the settings of `featureName`;
    // nullopt when the feature is disabled.
    std::optional<DataCollectorAPI> reportEndpoint(DataCollectorAPI::Case reportCase, const std::string& featureName) const;
    // The "Request" record of a report at log level 2.
    void logRequest(const DataCollectorAPI& endpoint, const JSONDictionary& data) const;

    // The core send. `queuedId` names the queue entry a resend came from.
    void sendEvent(const DataCollectorAPI& event, JSONDictionary data, bool isQueued, BoolCompletion completion,
                   std::optional<uint64_t> queuedId = std::nullopt);
    // Resends every event queued at this moment, oldest first.
    void syncQueuedEvents(BoolCompletion completion);

    // The envelope around one report dictionary; nullopt when it cannot be built.
    std::optional<JSONDictionary> envelope(const DataCollectorAPI& event, const JSONDictionary& data) const;

    const Console& console() const { return *deps_.console; }
    const Dependencies& dependencies() const { return deps_; }

    static constexpr const char* kClientName = "shop.quarra-demo.com";
    static constexpr const char* kPageURL = "https://support.quarra-demo.com/hc/en-us/articles/welcome-to-the-help-centre";

private:
    explicit CollectionService(Dependencies dependencies);

    void sendReport(DataCollectorAPI::Case reportCase, const std::string& featureName, JSONDictionary data,
                    BoolCompletion completion);
    void deliver(const DataCollectorAPI& event, JSONDictionary data, bool isQueued, BoolCompletion completion,
                 std::optional<uint64_t> queuedId);
    void refuse(bool isQueued, const BoolCompletion& completion);
    void handleSendSuccess(const DataCollectorAPI& event, const JSONDictionary& data, bool isQueued,
                           std::optional<uint64_t> queuedId, const BoolCompletion& completion, const std::string& body);
    void handleSendFailure(const DataCollectorAPI& event, const JSONDictionary& data, bool isQueued,
                           const BoolCompletion& completion, const std::optional<APIError>& error);
    void appendToJournal(JSONDictionary entry);
    // Counts one resent event as answered; ends the pass when none are left.
    void countDownResend();

    Dependencies deps_;
    std::atomic<bool> ignoreDataCollection_{false};
    std::atomic<int64_t> inFlight_{0};
    const Region region_ = Region::US;
    const std::string accountName_;
    const QuarraFPJSConfiguration fingerprintData_{Region::US, true, std::nullopt};

    mutable std::mutex mutex_;  // guards everything below
    std::deque<JSONDictionary> logsCollected_;
    int64_t eventsToSync_ = 0;
    bool isSendingQueuedEvents_ = false;
    std::string sessionKey_;
};

}  // namespace quarra
