#include "transport/APIError.hpp"

#include <cstdio>

#include "base/JsonText.hpp"

namespace quarra {
namespace {

constexpr const char* kCodeKey = "ResponseCode";
constexpr const char* kMessageKey = "ResponseText";

// A text as a debugger would quote it: quotes, backslashes and control
// characters escaped, so that the description reads unambiguously.
std::string quoted(const std::string& text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            case '\0': out += "\\0"; break;
            default:
                if (c < 0x20 || c == 0x7f) {
                    char escaped[12];
                    std::snprintf(escaped, sizeof escaped, "\\u{%x}", c);
                    out += escaped;
                } else {
                    out += static_cast<char>(c);
                }
        }
    }
    return out + "\"";
}

}  // namespace

std::string APIError::jsonText() const {
    JSONDictionary object = {{kCodeKey, code}, {kMessageKey, message}};
    return compactJSON(object).value_or("");
}

std::optional<APIError> APIError::fromJSON(std::string_view text, std::string apiName) {
    auto parsed = parseJSON(text);
    if (!parsed || !parsed->is_object()) return std::nullopt;
    auto code = parsed->find(kCodeKey);
    auto message = parsed->find(kMessageKey);
    if (code == parsed->end() || message == parsed->end() || !code->is_string() || !message->is_string()) {
        return std::nullopt;
    }
    return APIError{std::move(apiName), code->get<std::string>(), message->get<std::string>()};
}

std::string APIError::description() const {
    return "APIError(apiName: " + quoted(apiName) + ", code: " + quoted(code) + ", message: " + quoted(message) + ")";
}

}  // namespace quarra
