#include "RequestEvents.hpp"

#include "HttpJson.hpp"
#include "Identifiers.hpp"
#include "Routes.hpp"

namespace quarra::service {
namespace {

using Json = nlohmann::json;

// Larger documents are announced by size only, so that the feed's memory
// stays small whatever clients send.
constexpr std::size_t kLargestShownBody = 64 * 1024;

// The answer's code and text, from either error shape.
void addAnswer(Json& event, const httplib::Response& res) {
    if (res.has_header(kDroppedHeader)) {
        // The fault closed the socket: the client got no answer at all.
        event["dropped"] = true;
        return;
    }
    event["status"] = res.status;
    auto body = parseJsonText(res.body);
    if (!body || !body->is_object()) return;
    for (const char* key : {"ResponseCode", "errorCode"}) {
        if (auto code = stringMember(*body, key)) event["responseCode"] = *code;
    }
    for (const char* key : {"ResponseText", "errorMessage"}) {
        if (auto text = stringMember(*body, key)) event["responseText"] = *text;
    }
}

std::optional<Json> requestDocument(const httplib::Request& req, Json& event) {
    if (req.body.size() > kLargestShownBody) {
        event["bodyBytes"] = req.body.size();
        return std::nullopt;
    }
    return parseJsonText(req.body);
}

void describeReport(const httplib::Request& req, Json& event) {
    event["kind"] = "report";
    auto key = req.get_header_value("Idempotency-Key");
    if (!key.empty()) event["idempotencyKey"] = key;
    event["repeat"] = event.value("responseText", "") == kRepeatAnswerText;
    auto body = requestDocument(req, event);
    if (!body) return;
    event["request"] = *body;
    if (!body->is_object()) return;
    if (auto session = stringMember(*body, "sessionId")) event["sessionId"] = *session;
    for (const auto& [name, value] : body->items()) {
        if (name != "sessionId" && name != "clientName") {
            event["reportKey"] = name;
            break;
        }
    }
}

void describeLog(const httplib::Request& req, Json& event) {
    event["kind"] = "log";
    auto body = requestDocument(req, event);
    if (!body || !body->is_object()) return;
    if (auto session = stringMember(*body, "SessionKey")) event["sessionId"] = *session;
    // The record is usually JSON inside a text: show it parsed.
    if (auto logData = stringMember(*body, "LogData")) {
        auto parsed = parseJsonText(*logData);
        event["request"] = parsed ? *parsed : Json(*logData);
    }
}

void describeTransaction(const httplib::Request& req, const httplib::Response& res, Json& event) {
    event["kind"] = "transaction";
    const std::string evaluatePrefix = "/api/v1/transactions/evaluate/";
    auto body = requestDocument(req, event);
    if (body) event["request"] = *body;
    if (req.path.starts_with(evaluatePrefix)) {
        event["call"] = "evaluation";
        event["sessionId"] = req.path.substr(evaluatePrefix.size());
    } else if (req.path == "/api/v1/transactions/transactionStatus") {
        event["call"] = "status";
        if (body && body->is_object()) {
            if (auto id = stringMember(*body, "transactionId")) event["sessionId"] = *id;
        }
    } else {
        event["call"] = "event";
        event["sessionId"] = req.path.substr(std::string("/api/v1/transactions/").size());
    }
    // The platform's answers hold the score and decision, never a credential.
    if (auto answer = parseJsonText(res.body)) event["answer"] = *answer;
}

void describeInitiate(const httplib::Request& req, const httplib::Response& res, Json& event) {
    event["kind"] = "session";
    if (auto body = requestDocument(req, event); body && body->is_object()) {
        Json shown = Json::object();
        for (const char* key : {"customerName", "deviceId"}) {
            if (auto value = stringMember(*body, key)) shown[key] = *value;
        }
        event["request"] = std::move(shown);
    }
    // Only the new session's identifier: the rest of the document is settings.
    if (auto answer = parseJsonText(res.body); answer && answer->is_object()) {
        const auto data = answer->find("data");
        if (data != answer->end() && data->is_object()) {
            if (auto id = stringMember(*data, "transactionId")) event["sessionId"] = *id;
        }
    }
}

}  // namespace

std::optional<Json> describeExchange(const httplib::Request& req, const httplib::Response& res) {
    if (req.path.starts_with("/admin/")) return std::nullopt;
    Json event{{"time", nowTimestamp()}, {"method", req.method}, {"path", req.path}};
    addAnswer(event, res);
    if (req.path == "/api/accessToken") {
        // The token call carries the account secret and answers with tokens:
        // only that it happened, and how it ended, is shown.
        event["kind"] = "token";
    } else if (req.path == "/api/v1/transactions/initiate") {
        describeInitiate(req, res, event);
    } else if (req.path == "/certification/v1/InsertLogData/") {
        describeLog(req, event);
    } else if (req.path.starts_with("/api/data/collect/") || req.path.starts_with("/certification/v1/")) {
        describeReport(req, event);
    } else if (req.path.starts_with("/api/v1/transactions/")) {
        describeTransaction(req, res, event);
    } else {
        event["kind"] = "other";
    }
    return event;
}

}  // namespace quarra::service
