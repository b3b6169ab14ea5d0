#include "collector/CollectionService.hpp"

#include <cmath>

#include <quarra/ReverseGeocoder.hpp>

#include "base/DecimalText.hpp"
#include "base/JsonText.hpp"
#include "base/Limits.hpp"
#include "base/PlainJsonMember.hpp"
#include "base/Utf8Text.hpp"
#include "collector/HealthRecorder.hpp"
#include "collector/ReportEnvelope.hpp"
#include "config/SessionConfigManager.hpp"
#include "device/PlaceExtraction.hpp"
#include "platform/VendorIdentifier.hpp"
#include "queue/DataCollectorEventsQueue.hpp"
#include "transport/RequestsManager.hpp"
#include "transport/ServerLog.hpp"

namespace quarra {
namespace {

void call(const ReportSender::BoolCompletion& completion, bool value) {
    if (completion) completion(value);
}

// Milliseconds of the settings as whole seconds, truncated.
int64_t wholeSeconds(int64_t milliseconds) { return static_cast<int64_t>(std::trunc(milliseconds / 1000.0)); }

// The feature of the configuration whose settings a report is sent under.
const char* featureNameOf(DataCollectorAPI::Case reportCase) {
    using Case = DataCollectorAPI::Case;
    switch (reportCase) {
        case Case::userData: return "userData";
        case Case::userEventData: return "userEvents";
        case Case::activityStreamData: return "activityStream";
        case Case::accelerometerData: return "accelerometerData";
        case Case::locationData: return "userLocation";
        case Case::insertFignerPrintData: return "fingerprintPro";
        default: return "";
    }
}

}  // namespace

std::shared_ptr<CollectionService> CollectionService::create(Dependencies dependencies) {
    return std::shared_ptr<CollectionService>(new CollectionService(std::move(dependencies)));
}

CollectionService::CollectionService(Dependencies dependencies) : deps_(std::move(dependencies)) {
    if (!deps_.clock) deps_.clock = std::make_shared<SystemClock>();
}

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
    std::vector<JSONDictionary> entries;
    entries.reserve(logsCollected_.size());
    for (const auto& entry : logsCollected_) {
        if (const auto* text = std::get_if<std::shared_ptr<const std::string>>(&entry)) {
            entries.push_back(parseJSON(**text).value_or(JSONDictionary()));
        } else {
            entries.push_back(std::get<JSONDictionary>(entry));
        }
    }
    return entries;
}

int64_t CollectionService::eventsToSync() const {
    std::lock_guard lock(mutex_);
    return eventsToSync_;
}

bool CollectionService::isSendingQueuedEvents() const {
    std::lock_guard lock(mutex_);
    return isSendingQueuedEvents_;
}

DataCollectorService::Health CollectionService::health() const {
    const auto drops = deps_.queue->drops();
    DataCollectorService::Health health;
    health.submitted = counts_.submitted.load();
    health.restored = deps_.queue->restored();
    health.accepted = counts_.accepted.load() + counts_.resentAccepted.load();
    health.refused = counts_.refused.load();
    health.queued = deps_.queue->waitingCount();
    health.queuedBytes = deps_.queue->waitingBytes();
    health.inFlight = tracker_.inFlight();
    health.dropped = DataCollectorService::Health::Dropped{
        .disabledFeature = counts_.disabledFeature.load(),
        .bound = counts_.bound.load() + drops.count + drops.bytes,
        .age = drops.age,
        .unreadable = drops.unreadable,
        .notSerialisable = counts_.notSerialisable.load(),
    };
    health.resendPasses = counts_.resendPasses.load();
    if (deps_.health) deps_.health->fill(health);
    return health;
}

void CollectionService::appendToJournal(JournalEntry entry) {
    std::lock_guard lock(mutex_);
    logsCollected_.push_back(std::move(entry));
    while (logsCollected_.size() > limits::kMaxJournalEntries) logsCollected_.pop_front();
}

void CollectionService::onWorker(std::function<void()> task) const {
    if (deps_.worker) {
        deps_.worker->post(std::move(task));
    } else {
        task();
    }
}

// ---- what became of each report ----

ReportSender::BoolCompletion CollectionService::track(BoolCompletion completion) {
    ++counts_.submitted;
    const auto ticket = tracker_.begin();
    auto ended = std::make_shared<std::atomic<bool>>(false);
    return [weakSelf = weak_from_this(), ticket, ended, completion = std::move(completion)](bool value) {
        call(completion, value);
        if (ended->exchange(true)) return;
        if (auto self = weakSelf.lock()) self->tracker_.end(ticket);
    };
}

void CollectionService::finishFresh(Outcome outcome, const BoolCompletion& completion, bool value) {
    switch (outcome) {
        case Outcome::accepted: ++counts_.accepted; break;
        case Outcome::refused: ++counts_.refused; break;
        case Outcome::queued: break;  // the queue counts what waits in it
        case Outcome::disabledFeature: ++counts_.disabledFeature; break;
        case Outcome::bound: ++counts_.bound; break;
        case Outcome::notSerialisable: ++counts_.notSerialisable; break;
    }
    call(completion, value);
}

void CollectionService::refuseAfterShutdown(const BoolCompletion& completion) {
    ++counts_.submitted;
    deps_.console->log("The library has been shut down; the report was not sent");
    finishFresh(Outcome::refused, completion, false);
}

void CollectionService::whenSettled(std::function<void()> settled) {
    std::weak_ptr<CollectionService> weakSelf = weak_from_this();
    tracker_.whenSettled(std::move(settled), [weakSelf] {
        auto self = weakSelf.lock();
        return !self || !self->isSendingQueuedEvents();
    });
}

// ---- per-report wrappers ----

std::optional<DataCollectorAPI> CollectionService::reportEndpoint(DataCollectorAPI::Case reportCase) const {
    auto settings = SessionConfigUtility::featureDetails(featureNameOf(reportCase), *deps_.sessionConfigManager);
    if (settings && !settings->enabled) return std::nullopt;
    if (!settings) return DataCollectorAPI::report(reportCase, "", 0, 0, 0);
    return DataCollectorAPI::report(reportCase, settings->apiName.value_or(""), wholeSeconds(settings->connectionTimeout),
                                    settings->retryCount, wholeSeconds(settings->retryInterval));
}

void CollectionService::sayNotEncodable(const DataCollectorAPI& event) const {
    deps_.console->log("Report could not be encoded as JSON and was not sent: " + event.dataKey());
}

bool CollectionService::logsRequestRecords() const {
    return deps_.logManager && logsRequests(deps_.sessionConfigManager->logLevel());
}

void CollectionService::logRequest(const DataCollectorAPI& endpoint, const JSONDictionary& data) const {
    if (logsRequestRecords()) deps_.logManager->log(endpoint.path(), "Request", prettyPrintedOrFallback(data));
}

void CollectionService::sendReport(DataCollectorAPI::Case reportCase, JSONDictionary data, BoolCompletion completion) {
    auto done = track(std::move(completion));
    auto endpoint = reportEndpoint(reportCase);
    if (!endpoint) return finishFresh(Outcome::disabledFeature, done, false);
    logRequest(*endpoint, data);
    sendEvent(*endpoint, std::move(data), std::move(done));
}

void CollectionService::sendEncodedReport(DataCollectorAPI::Case reportCase, std::string eventJSON,
                                          BoolCompletion completion) {
    auto done = track(std::move(completion));
    auto endpoint = reportEndpoint(reportCase);
    if (!endpoint) return finishFresh(Outcome::disabledFeature, done, false);
    // The text is read back into a dictionary only when the record is written.
    if (logsRequestRecords()) logRequest(*endpoint, parseJSON(eventJSON).value_or(JSONDictionary::object()));
    sendEncodedEvent(*endpoint, std::move(eventJSON), std::move(done));
}

void CollectionService::sendUserData(JSONDictionary data, BoolCompletion completion) {
    sendReport(DataCollectorAPI::Case::userData, std::move(data), std::move(completion));
}

void CollectionService::sendUserEvents(JSONDictionary data, BoolCompletion completion) {
    sendReport(DataCollectorAPI::Case::userEventData, std::move(data), std::move(completion));
}

void CollectionService::sendActivityStream(JSONDictionary data, BoolCompletion completion) {
    sendReport(DataCollectorAPI::Case::activityStreamData, std::move(data), std::move(completion));
}

void CollectionService::sendAccelerometerData(JSONDictionary data, BoolCompletion completion) {
    sendReport(DataCollectorAPI::Case::accelerometerData, std::move(data), std::move(completion));
}

void CollectionService::sendLocationData(double latitude, double longitude, BoolCompletion completion) {
    auto done = track(std::move(completion));
    auto endpoint = reportEndpoint(DataCollectorAPI::Case::locationData);
    if (!endpoint) return finishFresh(Outcome::disabledFeature, done, false);
    std::weak_ptr<CollectionService> weakSelf = weak_from_this();
    auto placed = [weakSelf, endpoint = std::move(*endpoint), latitude, longitude, done](
                      const std::optional<std::vector<Placemark>>& placemarks, const std::optional<std::string>& error) {
        auto self = weakSelf.lock();
        if (!self) return call(done, false);
        extractPlace(placemarks, error, [&](const PlaceDetails& place) {
            JSONDictionary data = {
                {"country", place.country.value_or("")},
                {"city", place.locality.value_or("")},
                {"state", place.administrativeArea.value_or("")},
                {"longitude", shortestDecimal(longitude)},
                {"latitude", shortestDecimal(latitude)},
            };
            self->logRequest(endpoint, data);
            self->sendEvent(endpoint, std::move(data), [weakSelf, done](bool accepted) {
                if (auto self = weakSelf.lock()) {
                    self->console().log(std::string("Location data sent successfully: ") + (accepted ? "true" : "false"));
                }
                call(done, accepted);
            });
        });
    };
    // A geocoder may answer on a thread of its own: the report goes on from the worker.
    deps_.geocoder->reverseGeocodeLocation(
        latitude, longitude,
        [weakSelf, placed](std::optional<std::vector<Placemark>> placemarks, std::optional<std::string> error) {
            auto self = weakSelf.lock();
            if (!self) return placed(placemarks, error);
            self->onWorker([placed, placemarks = std::move(placemarks), error = std::move(error)] { placed(placemarks, error); });
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
    sendReport(DataCollectorAPI::Case::insertFignerPrintData, std::move(data), {});
}

// ---- the core send ----

void CollectionService::sendEvent(const DataCollectorAPI& event, JSONDictionary data, BoolCompletion completion) {
    if (ignoreDataCollection()) return finishFresh(Outcome::refused, completion, false);
    // The one time the host's dictionary is written as JSON: the outbox
    // record and the envelope on the wire are put together around this text.
    auto eventJSON = compactJSON(data);
    if (!eventJSON) {
        // A report that cannot be written as JSON (text that is not UTF-8, a
        // number that is not finite) would be refused forever: say so, drop it.
        sayNotEncodable(event);
        return finishFresh(Outcome::notSerialisable, completion, false);
    }
    sendEncodedEvent(event, std::move(*eventJSON), std::move(completion));
}

void CollectionService::sendEncodedEvent(const DataCollectorAPI& event, std::string eventJSON,
                                         BoolCompletion completion) {
    if (ignoreDataCollection()) return finishFresh(Outcome::refused, completion, false);
    std::string key = makeRandomUUID();
    const auto now = deps_.clock->now();
    if (event.kind() != DataCollectorAPI::Case::userData && sessionKey().empty()) {
        // Reports made before the first start wait for a session.
        auto kept = deps_.queue->keep(event, key, now, eventJSON, true);
        scheduleCommit();
        const Outcome outcome = kept.unencodable ? Outcome::notSerialisable : kept.id == 0 ? Outcome::bound
                                                                                             : Outcome::queued;
        return finishFresh(outcome, completion, false);
    }
    // Written ahead: the report is in the outbox before its first attempt.
    auto kept = deps_.queue->keep(event, key, now, eventJSON, false);
    if (kept.unencodable) {
        sayNotEncodable(event);
        return finishFresh(Outcome::notSerialisable, completion, false);
    }
    std::optional<std::string> ownText;
    if (kept.id == 0) ownText = std::move(eventJSON);
    held_.push_back(HeldSend{kept.id, event, std::move(key), std::move(ownText), std::move(completion)});
    scheduleCommit();
}

void CollectionService::scheduleCommit() {
    if (!deps_.worker) return commitAndSend();
    if (commitScheduled_) return;
    commitScheduled_ = true;
    deps_.worker->post([weakSelf = weak_from_this()] {
        if (auto self = weakSelf.lock()) self->commitAndSend();
    });
}

void CollectionService::scheduleRemovalCommit() {
    if (!deps_.worker) return commitAndSend();
    // A write already on its way takes the removal with it.
    if (commitScheduled_ || removalCommitScheduled_) return;
    removalCommitScheduled_ = true;
    deps_.worker->postAfter(kRemovalCommitDelay, [weakSelf = weak_from_this()] {
        auto self = weakSelf.lock();
        if (!self) return;
        self->removalCommitScheduled_ = false;
        self->deps_.queue->commit();
    });
}

void CollectionService::commitAndSend() {
    commitScheduled_ = false;
    deps_.queue->commit();
    heldCommitted_ = held_.size();
    sendHeld();
}

void CollectionService::sendHeld() {
    // An attempt answered at once comes back through freshAnswered(); the
    // loop below carries on for it.
    if (sendingHeld_) return;
    sendingHeld_ = true;
    while (freshInFlight_ < limits::kMaxReportsInFlight && heldCommitted_ > 0) {
        HeldSend next = std::move(held_.front());
        held_.pop_front();
        --heldCommitted_;
        ++freshInFlight_;
        std::optional<std::string> eventJSON =
            next.entryId != 0 ? deps_.queue->eventJSON(next.entryId) : std::move(next.eventJSON);
        if (!eventJSON) {
            // Only a clear of the queue takes an entry on its first way out.
            finishFresh(Outcome::bound, next.completion, false);
            --freshInFlight_;
            continue;
        }
        deliver(next.type, next.idempotencyKey, *eventJSON, next.entryId, false, std::move(next.completion));
    }
    sendingHeld_ = false;
    // While reports are on the wire, room is offered a batch at a time: let in
    // one by one as answers come, each would cost an outbox write of its own.
    // The ones already written ahead keep the wire busy meanwhile.
    constexpr size_t kRoomBatch = limits::kMaxReportsInFlight / 4;
    const size_t room = freshRoom();
    if (roomListener_ && room > 0 && (room >= kRoomBatch || freshInFlight_ == 0)) roomListener_();
}

void CollectionService::freshAnswered() {
    if (freshInFlight_ > 0) --freshInFlight_;
    sendHeld();
}

size_t CollectionService::freshRoom() const {
    // Two windows' worth: one on the wire, one written ahead and ready to go.
    constexpr size_t kHeldAtMost = 2 * limits::kMaxReportsInFlight;
    const size_t taken = held_.size() + freshInFlight_;
    return taken >= kHeldAtMost ? 0 : kHeldAtMost - taken;
}

void CollectionService::resendEvent(const StoredEvent& stored) {
    const auto& event = stored.event.type;
    // A resent event that goes no further still counts as answered, or the
    // pass would never end; it stays in the queue.
    if (ignoreDataCollection() || (event.kind() != DataCollectorAPI::Case::userData && sessionKey().empty())) {
        return resendAnswered(stored.id);
    }
    auto eventJSON = deps_.queue->eventJSON(stored.id);
    if (!eventJSON) return resendAnswered(stored.id);
    deliver(event, stored.event.idempotencyKey, *eventJSON, stored.id, true, {});
}

void CollectionService::deliver(const DataCollectorAPI& event, const std::string& idempotencyKey,
                                std::string_view eventJSON, uint64_t entryId, bool resend, BoolCompletion completion) {
    auto body = reportEnvelope(event, eventJSON, sessionKey(), EnvelopeNames{kClientName, kPageURL});
    if (!body) {
        sayNotEncodable(event);
        if (entryId != 0) deps_.queue->removeEvent(entryId);
        if (resend) {
            ++counts_.notSerialisable;
            return resendAnswered(entryId);
        }
        finishFresh(Outcome::notSerialisable, completion, false);
        return freshAnswered();
    }
    auto bytes = std::make_shared<const std::string>(std::move(*body));
    appendToJournal(bytes);

    // Every attempt of a report carries its key: the service can tell a repeat.
    std::optional<DataCollectorAPI::Headers> headers;
    if (!idempotencyKey.empty()) headers = DataCollectorAPI::Headers{{"Idempotency-Key", idempotencyKey}};
    auto request = DataCollectorAPI::sendEncoded(std::move(bytes), std::move(headers), event.path(), std::nullopt, "",
                                              BaseUrlType::dcBaseUrl);
    std::weak_ptr<CollectionService> weakSelf = weak_from_this();
    auto attempt = std::make_shared<const Attempt>(Attempt{event.path(), entryId, resend, std::move(completion)});
    deps_.requestsManager->request(
        request, 1, "",
        [weakSelf, attempt](const std::string& answer) {
            auto self = weakSelf.lock();
            if (!self) return;
            self->handleSendSuccess(*attempt, answer);
            if (!attempt->resend) self->freshAnswered();
        },
        [weakSelf, attempt](const APIError& error) {
            auto self = weakSelf.lock();
            if (!self) return;
            self->handleSendFailure(*attempt, error);
            if (!attempt->resend) self->freshAnswered();
        });
}

void CollectionService::handleSendSuccess(const Attempt& attempt, const std::string& body) {
    if (plainJSONMember(body, "ResponseCode") == "0") {
        // The collector's usual acceptance, read in place; the journal keeps
        // its text and parses it only when asked for.
        appendToJournal(std::make_shared<const std::string>(body));
    } else {
        auto answer = parseJSON(body);
        const bool readable = answer && answer->is_object() && answer->contains("ResponseCode") &&
                              (*answer)["ResponseCode"].is_string();
        if (!readable) {
            const std::string message = isValidUtf8(body) ? body : "Could not parse response";
            handleSendFailure(attempt, APIError{attempt.path, "-1", message});
            return;
        }
        auto code = (*answer)["ResponseCode"].get<std::string>();
        if (code != "0") {
            handleSendFailure(attempt,
                              APIError{attempt.path, code, "Request was successful but response code was " + code});
            return;
        }
        appendToJournal(std::move(*answer));
    }
    if (deps_.health) deps_.health->accepted();
    // Accepted reports leave the outbox with the next write; should the
    // process end first, the service knows the repeat by its key.
    const uint64_t entryId = attempt.entryId;
    const bool removed = entryId != 0 && deps_.queue->removeEvent(entryId);
    if (removed) scheduleRemovalCommit();
    if (attempt.resend) {
        if (removed) ++counts_.resentAccepted;
        resendAnswered(entryId);
        return;
    }

    bool startPass = false;
    {
        std::lock_guard lock(mutex_);
        startPass = !isSendingQueuedEvents_;
    }
    if (startPass && !deps_.queue->isEmpty()) syncQueuedEvents();
    finishFresh(Outcome::accepted, attempt.completion, true);
}

void CollectionService::handleSendFailure(const Attempt& attempt, const APIError& error) {
    appendToJournal(JSONDictionary{{"Error", error.description()}});
    if (deps_.health) deps_.health->failed("collector", error);
    if (attempt.resend) return resendAnswered(attempt.entryId);
    // The entry written ahead now waits for a resend.
    if (attempt.entryId == 0) return finishFresh(Outcome::bound, attempt.completion, false);
    deps_.queue->markQueued(attempt.entryId);
    finishFresh(Outcome::queued, attempt.completion, false);
}

// ---- the resend pass ----

void CollectionService::syncQueuedEvents() {
    // Each pass first lets go of what waited too long, and says in one line
    // what went since the last one.
    if (deps_.queue->dropExpired() > 0) scheduleCommit();
    deps_.queue->reportDrops();
    auto pending = deps_.queue->eventsQueueArray();
    {
        std::lock_guard lock(mutex_);
        if (isSendingQueuedEvents_ || pending.empty()) return;
        isSendingQueuedEvents_ = true;
        eventsToSync_ = static_cast<int64_t>(pending.size());
    }
    ++counts_.resendPasses;
    pass_.waiting.assign(std::make_move_iterator(pending.begin()), std::make_move_iterator(pending.end()));
    sendNextResends();
}

void CollectionService::sendNextResends() {
    // A resend answered at once (refused, or not encodable) comes back here
    // through resendAnswered(); the loop below carries on for it.
    if (pass_.pumping) return;
    pass_.pumping = true;
    while (pass_.inFlight < limits::kResendWindow && !pass_.waiting.empty()) {
        StoredEvent stored = std::move(pass_.waiting.front());
        pass_.waiting.pop_front();
        ++pass_.inFlight;
        if (!deps_.queue->contains(stored.id)) {
            resendAnswered(std::nullopt);  // accepted, pushed out or expired since the pass began
            continue;
        }
        // Entries on their way are kept when the queue overflows meanwhile.
        deps_.queue->pin(stored.id);
        resendEvent(stored);
    }
    pass_.pumping = false;
}

void CollectionService::resendAnswered(std::optional<uint64_t> queuedId) {
    if (queuedId) deps_.queue->unpin(*queuedId);
    if (pass_.inFlight > 0) --pass_.inFlight;
    bool ended = false;
    {
        std::lock_guard lock(mutex_);
        if (eventsToSync_ > 0) --eventsToSync_;
        if (eventsToSync_ == 0 && isSendingQueuedEvents_) {
            isSendingQueuedEvents_ = false;
            ended = true;
        }
    }
    if (ended) {
        pass_.waiting.clear();
        tracker_.recheck();
        return;
    }
    sendNextResends();
}

}  // namespace quarra
