#include "HttpJson.hpp"

#include <algorithm>
#include <cctype>

namespace quarra::service {

std::optional<Json> parseJsonText(const std::string& text) {
    bool tooDeep = false;
    // The callback sees every nesting level; anything beyond the limit is
    // dropped and the whole document refused.
    Json::parser_callback_t limitDepth = [&tooDeep](int depth, Json::parse_event_t event, Json&) {
        if (depth > kMaxJsonDepth &&
            (event == Json::parse_event_t::object_start || event == Json::parse_event_t::array_start)) {
            tooDeep = true;
            return false;
        }
        return true;
    };
    Json value = Json::parse(text, limitDepth, /*allow_exceptions=*/false);
    if (tooDeep || value.is_discarded()) return std::nullopt;
    return value;
}

std::string jsonText(const Json& value) {
    return value.dump(-1, ' ', false, Json::error_handler_t::replace);
}

void sendJson(httplib::Response& res, int status, const Json& body) {
    res.status = status;
    res.set_content(jsonText(body), "application/json");
}

ReplyStyle replyStyleFor(const std::string& path) {
    if (path.starts_with("/api/data/collect/") || path.starts_with("/certification/")) return ReplyStyle::collector;
    return ReplyStyle::platform;
}

void sendError(httplib::Response& res, ReplyStyle style, int status, const std::string& message) {
    if (style == ReplyStyle::collector) {
        sendJson(res, status, {{"ResponseCode", kCollectorBadRequestCode}, {"ResponseText", message}});
    } else {
        sendJson(res, status, {{"errorCode", std::to_string(status)}, {"errorMessage", message}});
    }
}

void sendError(httplib::Response& res, const httplib::Request& req, int status, const std::string& message) {
    sendError(res, replyStyleFor(req.path), status, message);
}

namespace {

bool isJsonMediaType(std::string contentType) {
    std::transform(contentType.begin(), contentType.end(), contentType.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    auto semicolon = contentType.find(';');
    auto mediaType = contentType.substr(0, semicolon);
    mediaType.erase(std::remove_if(mediaType.begin(), mediaType.end(),
                                   [](unsigned char c) { return std::isspace(c) != 0; }),
                    mediaType.end());
    return mediaType == "application/json";
}

}  // namespace

std::optional<Json> readJsonObject(const httplib::Request& req, httplib::Response& res) {
    if (!req.has_header("Content-Type")) {
        sendError(res, req, 415, "Missing Content-Type header; send application/json");
        return std::nullopt;
    }
    if (!isJsonMediaType(req.get_header_value("Content-Type"))) {
        sendError(res, req, 415, "Unsupported Content-Type; send application/json");
        return std::nullopt;
    }
    auto body = parseJsonText(req.body);
    if (!body) {
        sendError(res, req, 400, "Body is not valid JSON (or nests deeper than 64 levels)");
        return std::nullopt;
    }
    if (!body->is_object()) {
        sendError(res, req, 400, "Body must be a JSON object");
        return std::nullopt;
    }
    return body;
}

std::optional<std::string> stringMember(const Json& object, const char* key) {
    auto it = object.find(key);
    if (it == object.end() || !it->is_string()) return std::nullopt;
    return it->get<std::string>();
}

}  // namespace quarra::service
