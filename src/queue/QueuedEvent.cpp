#include "queue/QueuedEvent.hpp"

#include <chrono>
#include <cstdint>

#include "base/JsonText.hpp"

namespace quarra {
namespace {

bool isTextToText(const JSONDictionary& value) {
    if (!value.is_object()) return false;
    for (const auto& item : value) {
        if (!item.is_string()) return false;
    }
    return true;
}

}  // namespace

bool QueuedEvent::matches(const QueuedEvent& other) const {
    if (!event.is_object()) return false;
    for (const auto& [key, mine] : event.items()) {
        const JSONDictionary* theirs = nullptr;
        if (other.event.is_object()) {
            if (auto it = other.event.find(key); it != other.event.end()) theirs = &*it;
        }
        if (mine.is_string()) {
            if (theirs == nullptr || !theirs->is_string() || *theirs != mine) return false;
        } else if (!isTextToText(mine) || theirs == nullptr || !isTextToText(*theirs) || *theirs != mine) {
            return false;
        }
    }
    return true;
}

}  // namespace quarra

namespace quarra {

std::optional<EncodedRecord> encodeQueuedRecord(const DataCollectorAPI& type, const std::string& idempotencyKey,
                                                Clock::TimePoint createdAt, std::string_view eventJSON) {
    auto path = compactJSONString(type.path());
    auto key = compactJSONString(idempotencyKey);
    if (!path || !key) return std::nullopt;
    const auto millis = std::chrono::duration_cast<std::chrono::milliseconds>(createdAt.time_since_epoch()).count();
    // The keys in the order a JSON object of them is written (sorted), so
    // the text is the one the record has always had.
    EncodedRecord record;
    std::string& text = record.text;
    text.reserve(eventJSON.size() + path->size() + key->size() + 160);
    text += R"({"case":")";
    text += caseName(type.kind());
    text += R"(","createdAtMs":)";
    text += std::to_string(millis);
    text += R"(,"event":)";
    record.eventOffset = text.size();
    record.eventLength = eventJSON.size();
    text += eventJSON;
    text += R"(,"key":)";
    text += *key;
    text += R"(,"path":)";
    text += *path;
    text += R"(,"retryCount":)";
    text += std::to_string(type.retryCountValue());
    text += R"(,"retryInterval":)";
    text += std::to_string(type.retryIntervalSeconds());
    text += R"(,"timeout":)";
    text += std::to_string(type.timeoutSeconds());
    text += '}';
    return record;
}

std::optional<std::string> encodeQueuedEvent(const QueuedEvent& event) {
    auto eventJSON = compactJSON(event.event);
    if (!eventJSON) return std::nullopt;
    auto record = encodeQueuedRecord(event.type, event.idempotencyKey, event.createdAt, *eventJSON);
    if (!record) return std::nullopt;
    return std::move(record->text);
}

std::optional<QueuedEvent> decodeQueuedEvent(std::string_view text) {
    auto record = parseJSON(text);
    if (!record || !record->is_object()) return std::nullopt;
    auto textAt = [&](const char* key) -> std::optional<std::string> {
        auto found = record->find(key);
        if (found == record->end() || !found->is_string()) return std::nullopt;
        return found->get<std::string>();
    };
    auto numberAt = [&](const char* key) -> std::optional<int64_t> {
        auto found = record->find(key);
        if (found == record->end() || !found->is_number_integer()) return std::nullopt;
        return found->get<int64_t>();
    };
    auto name = textAt("case");
    if (!name) return std::nullopt;
    auto kind = caseFromName(*name);
    // Only report cases are ever kept.
    if (!kind || *kind >= DataCollectorAPI::Case::sendDataAccessToken) return std::nullopt;
    const DataCollectorAPI::Case reportCase = *kind;
    auto path = textAt("path");
    auto timeout = numberAt("timeout"), retryCount = numberAt("retryCount"), retryInterval = numberAt("retryInterval");
    auto key = textAt("key");
    auto created = numberAt("createdAtMs");
    auto event = record->find("event");
    if (!path || !timeout || !retryCount || !retryInterval || !key || !created || event == record->end()) {
        return std::nullopt;
    }
    // A creation time the clock cannot hold was not written by us; taking it
    // would overflow the clock.
    constexpr int64_t kLatestCreatedMs =
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::TimePoint::max().time_since_epoch()).count();
    if (*created < 0 || *created > kLatestCreatedMs) {
        return std::nullopt;
    }
    return QueuedEvent{
        .type = DataCollectorAPI::report(reportCase, *path, *timeout, *retryCount, *retryInterval),
        .event = *event,
        .idempotencyKey = *key,
        .createdAt = Clock::TimePoint(std::chrono::milliseconds(*created)),
    };
}

}  // namespace quarra
