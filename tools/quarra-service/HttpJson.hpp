#pragma once
// JSON in and out of HTTP exchanges: bounded parsing, never-throwing output,
// and the two error shapes the service's clients understand.
#include <optional>
#include <string>

#include <httplib.h>
#include <nlohmann/json.hpp>

namespace quarra::service {

using Json = nlohmann::json;

// Deepest nesting accepted from outside; deeper documents are refused so that
// storing and serialising them again stays bounded.
inline constexpr int kMaxJsonDepth = 64;

// The parsed value, or nothing when the text is not JSON or nests too deeply.
std::optional<Json> parseJsonText(const std::string& text);

// Compact JSON text; malformed UTF-8 in strings is replaced, never thrown.
std::string jsonText(const Json& value);

void sendJson(httplib::Response& res, int status, const Json& body);

// Platform paths answer errors as {"errorCode", "errorMessage"}; collector and
// log paths as {"ResponseCode", "ResponseText"}.
enum class ReplyStyle { platform, collector };
ReplyStyle replyStyleFor(const std::string& path);

// Code "1" is the collector's "request not understood"; platform errors carry
// the HTTP status as their code.
inline constexpr const char* kCollectorBadRequestCode = "1";
void sendError(httplib::Response& res, ReplyStyle style, int status, const std::string& message);
void sendError(httplib::Response& res, const httplib::Request& req, int status, const std::string& message);

// The body as a JSON object, or nothing after a 415/400 answer has been set.
std::optional<Json> readJsonObject(const httplib::Request& req, httplib::Response& res);

// Text of a string member, or nothing when it is missing or not a string.
std::optional<std::string> stringMember(const Json& object, const char* key);

}  // namespace quarra::service
