#include "collector/CollectionService.hpp"

#include <cmath>

#include "config/SessionConfigManager.hpp"
#include "base/DecimalText.hpp"
#include "base/Utf8Text.hpp"
#include "base/JsonText.hpp"
#include "device/OfflineReverseGeocoder.hpp"
#include "device/PlaceExtraction.hpp"
#include "base/Limits.hpp"
#include "logging/LogManager.hpp"
#include "platform/Environment.hpp"
#include "queue/DataCollectorEventsQueue.hpp"
#include "transport/RequestsManager.hpp"

namespace quarra {
namespace {

void call(const ReportSender::BoolCompletion& completion, bool value) {
    if (completion) completion(value);
}

// Milliseconds of the settings as whole seconds, truncated.
int64_t wholeSeconds(int64_t milliseconds) { return static_cast<int64_t>(std::trunc(milliseconds / 1000.0)); }

}  // namespace

std::shared_ptr<CollectionService> CollectionService::shared() {
    static const std::shared_ptr<CollectionService> instance = [] {
        auto& environment = Environment::shared();
        return create(Dependencies{
            .requestsManager = &RequestsManager::shared(),
            .queue = &DataCollectorEventsQueue::shared(),
            .sessionConfigManager = &SessionConfigManager::shared(),
            .logManager = &LogManager::shared(),
            .console = std::make_shared<Console>(environment.console()),
            .worker = makeSerialQueue("quarra-collector"),
            .geocoder = environment.options().reverseGeocoder ? environment.options().reverseGeocoder
                                                              : sharedReverseGeocoder(),
        });
    }();
    return instance;
}

std::shared_ptr<CollectionService> CollectionService::create(Dependencies dependencies) {
    return std::shared_ptr<CollectionService>(new CollectionService(std::move(dependencies)));
}

CollectionService::CollectionService(Dependencies dependencies) : deps_(std::move(dependencies)) {}

std::string CollectionService::sessionKey() const {
    std::lock_guard lock(mutex_);
    return sessionKey_;
}

void CollectionService::setSessionKey(std::string key) {
    std::lock_guard lock(mutex_);
    sessionKey_ = std::move(key);
}

std::vector<JSONDictionary> CollectionService::logsCollected() const {
    std::lock_guard lock(mutex_);
    return {logsCollected_.begin(), logsCollected_.end()};
}

int64_t CollectionService::eventsToSync() const {
    std::lock_guard lock(mutex_);
    return eventsToSync_;
}

bool CollectionService::isSendingQueuedEvents() const {
    std::lock_guard lock(mutex_);
    return isSendingQueuedEvents_;
}

void CollectionService::appendToJournal(JSONDictionary entry) {
    std::lock_guard lock(mutex_);
    logsCollected_.push_back(std::move(entry));
    while (logsCollected_.size() > limits::kMaxJournalEntries) logsCollected_.pop_front();
}

// ---- per-report wrappers ----

std::optional<DataCollectorAPI> CollectionService::reportEndpoint(DataCollectorAPI::Case reportCase,
                                                                  const std::string& featureName) const {
    auto settings = SessionConfigUtility::featureDetails(featureName, *deps_.sessionConfigManager);
    if (settings && !settings->enabled) return std::nullopt;
    if (!settings) return DataCollectorAPI::report(reportCase, "", 0, 0, 0);
    return DataCollectorAPI::report(reportCase, settings->apiName.value_or(""), wholeSeconds(settings->connectionTimeout),
                                    settings->retryCount, wholeSeconds(settings->retryInterval));
}

void CollectionService::logRequest(const DataCollectorAPI& endpoint, const JSONDictionary& data) const {
    if (deps_.logManager && deps_.sessionConfigManager->logLevel() == 2) {
        deps_.logManager->log(endpoint.path(), "Request", prettyPrintedOrFallback(data));
    }
}

void CollectionService::sendReport(DataCollectorAPI::Case reportCase, const std::string& featureName, JSONDictionary data,
                                   BoolCompletion completion) {
    auto endpoint = reportEndpoint(reportCase, featureName);
    if (!endpoint) {
        call(completion, false);
        return;
    }
    logRequest(*endpoint, data);
    sendEvent(*endpoint, std::move(data), false, std::move(completion));
}

void CollectionService::sendUserData(JSONDictionary data, BoolCompletion completion) {
    sendReport(DataCollectorAPI::Case::userData, "userData", std::move(data), std::move(completion));
}

void CollectionService::sendUserEvents(JSONDictionary data, BoolCompletion completion) {
    sendReport(DataCollectorAPI::Case::userEventData, "userEvents", std::move(data), std::move(completion));
}

void CollectionService::sendActivityStream(JSONDictionary data, BoolCompletion completion) {
    sendReport(DataCollectorAPI::Case::activityStreamData, "activityStream", std::move(data), std::move(completion));
}

void CollectionService::sendAccelerometerData(JSONDictionary data, BoolCompletion completion) {
    sendReport(DataCollectorAPI::Case::accelerometerData, "accelerometerData", std::move(data), std::move(completion));
}

void CollectionService::sendLocationData(double latitude, double longitude, BoolCompletion completion) {
    auto endpoint = reportEndpoint(DataCollectorAPI::Case::locationData, "userLocation");
    if (!endpoint) {
        call(completion, false);
        return;
    }
    std::weak_ptr<CollectionService> weakSelf = weak_from_this();
    deps_.geocoder->reverseGeocodeLocation(
        latitude, longitude,
        [weakSelf, endpoint = std::move(*endpoint), latitude, longitude, completion](
            std::optional<std::vector<Placemark>> placemarks, std::optional<std::string> error) {
            auto self = weakSelf.lock();
            if (!self) {
                call(completion, false);
                return;
            }
            extractPlace(placemarks, error, [&](const PlaceDetails& place) {
                JSONDictionary data = {
                    {"country", place.country.value_or("")},
                    {"city", place.locality.value_or("")},
                    {"state", place.administrativeArea.value_or("")},
                    {"longitude", shortestDecimal(longitude)},
                    {"latitude", shortestDecimal(latitude)},
                };
                self->logRequest(endpoint, data);
                self->sendEvent(endpoint, std::move(data), false, [weakSelf, completion](bool accepted) {
                    if (auto self = weakSelf.lock()) {
                        self->console().log(std::string("Location data sent successfully: ") + (accepted ? "true" : "false"));
                    }
                    call(completion, accepted);
                });
            });
        });
}

void CollectionService::sendFingerprintData(const std::string& visitorId, const std::optional<std::string>& requestId,
                                            const std::optional<std::string>& /*error*/) {
    JSONDictionary data = {
        {"visitorID", visitorId},
        {"requestID", requestId.value_or("")},
        {"visitorResponse", "true"},
        {"jsVersion", "2.0"},
    };
    sendReport(DataCollectorAPI::Case::insertFignerPrintData, "fingerprintPro", std::move(data), {});
}

// ---- the core send ----

std::optional<JSONDictionary> CollectionService::envelope(const DataCollectorAPI& event, const JSONDictionary& data) const {
    JSONDictionary result = JSONDictionary::object();
    switch (event.kind()) {
        case DataCollectorAPI::Case::activityStreamData: {
            auto entries = JSONDictionary::array({data});
            if (!prettyJSON(entries)) return std::nullopt;
            result[event.dataKey()] = JSONDictionary::array({{{"url", kPageURL}, {"activityStream", std::move(entries)}}});
            break;
        }
        case DataCollectorAPI::Case::userEventData:
            result[event.dataKey()] = JSONDictionary::array({data});
            break;
        default:
            result[event.dataKey()] = data;
            break;
    }
    result["sessionId"] = sessionKey();
    result["clientName"] = kClientName;
    return result;
}

void CollectionService::refuse(bool isQueued, const BoolCompletion& completion) {
    // A resent event that goes no further still counts as answered, or the
    // pass would never end; it stays in the queue.
    if (isQueued) countDownResend();
    call(completion, false);
}

void CollectionService::sendEvent(const DataCollectorAPI& event, JSONDictionary data, bool isQueued,
                                  BoolCompletion completion, std::optional<uint64_t> queuedId) {
    if (ignoreDataCollection()) return refuse(isQueued, completion);
    if (event.kind() != DataCollectorAPI::Case::userData && sessionKey().empty()) {
        // Reports made before the first start wait for a session.
        if (!isQueued) deps_.queue->addEvent(QueuedEvent{event, std::move(data)});
        return refuse(isQueued, completion);
    }
    ++inFlight_;
    if (!deps_.worker) return deliver(event, std::move(data), isQueued, std::move(completion), queuedId);
    // The caller (often the host's UI thread) only hands the report over.
    std::weak_ptr<CollectionService> weakSelf = weak_from_this();
    deps_.worker->post([weakSelf, event, data = std::move(data), isQueued, completion = std::move(completion),
                        queuedId]() mutable {
        if (auto self = weakSelf.lock()) self->deliver(event, std::move(data), isQueued, std::move(completion), queuedId);
    });
}

void CollectionService::deliver(const DataCollectorAPI& event, JSONDictionary data, bool isQueued,
                                BoolCompletion completion, std::optional<uint64_t> queuedId) {
    auto body = envelope(event, data);
    // A report that cannot be written as JSON (text that is not UTF-8, a
    // number that is not finite) would be refused forever: say so, drop it.
    if (!body || !compactJSON(*body)) {
        deps_.console->log("Report could not be encoded as JSON and was not sent: " + event.dataKey());
        if (isQueued && queuedId) deps_.queue->removeEvent(*queuedId);
        --inFlight_;
        return refuse(isQueued, completion);
    }
    appendToJournal(*body);

    auto request = DataCollectorAPI::sendData(std::move(*body), std::nullopt, event.path(), std::nullopt, "",
                                              BaseUrlType::dcBaseUrl);
    std::weak_ptr<CollectionService> weakSelf = weak_from_this();
    auto shared = std::make_shared<const std::tuple<DataCollectorAPI, JSONDictionary, BoolCompletion>>(
        event, std::move(data), std::move(completion));
    deps_.requestsManager->request(
        request, 1, "",
        [weakSelf, shared, isQueued, queuedId](const std::string& answer) {
            if (auto self = weakSelf.lock()) {
                const auto& [e, d, c] = *shared;
                self->handleSendSuccess(e, d, isQueued, queuedId, c, answer);
                --self->inFlight_;
            }
        },
        [weakSelf, shared, isQueued](const APIError& error) {
            if (auto self = weakSelf.lock()) {
                const auto& [e, d, c] = *shared;
                self->handleSendFailure(e, d, isQueued, c, error);
                --self->inFlight_;
            }
        });
}

void CollectionService::handleSendSuccess(const DataCollectorAPI& event, const JSONDictionary& data, bool isQueued,
                                          std::optional<uint64_t> queuedId, const BoolCompletion& completion,
                                          const std::string& body) {
    auto answer = parseJSON(body);
    const bool readable = answer && answer->is_object() && answer->contains("ResponseCode") &&
                          (*answer)["ResponseCode"].is_string();
    if (!readable) {
        const std::string message = isValidUtf8(body) ? body : "Could not parse response";
        handleSendFailure(event, data, isQueued, completion, APIError{event.path(), "-1", message});
        return;
    }
    auto code = (*answer)["ResponseCode"].get<std::string>();
    if (code != "0") {
        handleSendFailure(event, data, isQueued, completion,
                          APIError{event.path(), code, "Request was successful but response code was " + code});
        return;
    }

    appendToJournal(std::move(*answer));
    if (isQueued) {
        // The entry that was resent is removed by identity, so reports holding
        // numbers or nested values are not resent forever.
        if (queuedId) {
            deps_.queue->removeEvent(*queuedId);
        } else {
            deps_.queue->removeEvent(QueuedEvent{event, data});
        }
        countDownResend();
        return;
    }

    bool startPass = false;
    {
        std::lock_guard lock(mutex_);
        if (!isSendingQueuedEvents_ && !deps_.queue->isEmpty()) {
            isSendingQueuedEvents_ = true;  // claimed here so two answers cannot start two passes
            startPass = true;
        }
    }
    if (startPass) syncQueuedEvents(completion);
    call(completion, true);
}

void CollectionService::handleSendFailure(const DataCollectorAPI& event, const JSONDictionary& data, bool isQueued,
                                          const BoolCompletion& completion, const std::optional<APIError>& error) {
    if (!isQueued) deps_.queue->addEvent(QueuedEvent{event, data});
    appendToJournal(JSONDictionary{{"Error", error ? error->description() : std::string("Unknown error")}});
    call(completion, false);
    if (isQueued) countDownResend();
}

void CollectionService::countDownResend() {
    std::lock_guard lock(mutex_);
    if (eventsToSync_ > 0) --eventsToSync_;
    if (eventsToSync_ == 0) isSendingQueuedEvents_ = false;
}

void CollectionService::syncQueuedEvents(BoolCompletion completion) {
    auto pending = deps_.queue->eventsQueueArray();
    {
        std::lock_guard lock(mutex_);
        isSendingQueuedEvents_ = !pending.empty();
        eventsToSync_ = static_cast<int64_t>(pending.size());
    }
    for (auto& stored : pending) {
        sendEvent(stored.event.type, std::move(stored.event.event), true, completion, stored.id);
    }
}

// ---- the public facade ----

const char* regionName(Region region) { return region == Region::US ? "US" : "APAC"; }

DataCollectorService::DataCollectorService(std::shared_ptr<CollectionService> core) : core_(std::move(core)) {}

DataCollectorService& DataCollectorService::defaultService() {
    static DataCollectorService* instance = new DataCollectorService(CollectionService::shared());
    return *instance;
}

bool DataCollectorService::ignoreDataCollection() const { return core_->ignoreDataCollection(); }
void DataCollectorService::setIgnoreDataCollection(bool ignore) { core_->setIgnoreDataCollection(ignore); }
void DataCollectorService::enableLogs(bool enabled) { quarra::enableLogs(enabled); }

void DataCollectorService::sendUserData(JSONDictionary data, BoolCompletion completion) {
    core_->sendUserData(std::move(data), std::move(completion));
}
void DataCollectorService::sendUserEvents(JSONDictionary data, BoolCompletion completion) {
    core_->sendUserEvents(std::move(data), std::move(completion));
}
void DataCollectorService::sendActivityStream(JSONDictionary data, BoolCompletion completion) {
    core_->sendActivityStream(std::move(data), std::move(completion));
}
void DataCollectorService::sendLocationData(double latitude, double longitude, BoolCompletion completion) {
    core_->sendLocationData(latitude, longitude, std::move(completion));
}
void DataCollectorService::sendAccelerometerData(JSONDictionary data, BoolCompletion completion) {
    core_->sendAccelerometerData(std::move(data), std::move(completion));
}

}  // namespace quarra
