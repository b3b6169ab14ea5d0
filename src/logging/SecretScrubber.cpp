#include "logging/SecretScrubber.hpp"

#include <algorithm>
#include <array>
#include <cctype>

#include <quarra/Json.hpp>

#include "base/JsonText.hpp"

namespace quarra {
namespace {

std::string lowered(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

bool isSecretKey(std::string_view key) {
    static const std::array<std::string_view, 9> keys = {
        "accesstoken", "refreshtoken", "access_token", "refresh_token", "authorization",
        "secretkey",   "secret_key",   "secret",       "password"};
    auto name = lowered(key);
    return std::find(keys.begin(), keys.end(), name) != keys.end();
}

// Returns whether anything was replaced.
bool redactJSON(JSONDictionary& value) {
    bool changed = false;
    if (value.is_object()) {
        for (auto& [key, item] : value.items()) {
            if (isSecretKey(key)) {
                item = std::string(kRedacted);
                changed = true;
            } else {
                changed = redactJSON(item) || changed;
            }
        }
    } else if (value.is_array()) {
        for (auto& item : value) changed = redactJSON(item) || changed;
    }
    return changed;
}

bool isCredentialChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '+' || c == '/' || c == '=' || c == '-' || c == '_' ||
           c == '.' || c == '~';
}

// Tells a credential from an ordinary word that happens to follow "Basic ":
// credentials are long or carry digits or Base64 punctuation.
bool looksLikeCredential(std::string_view run) {
    return run.size() >= 16 || std::any_of(run.begin(), run.end(), [](char c) {
               return std::isdigit(static_cast<unsigned char>(c)) || c == '+' || c == '/' || c == '=';
           });
}

// "Basic <credential>" and "Bearer <token>", whatever the case of the scheme.
std::string redactSchemes(std::string text) {
    std::string lower = lowered(text);
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        std::size_t schemeLength = 0;
        for (std::string_view scheme : {std::string_view("basic "), std::string_view("bearer ")}) {
            if (lower.compare(i, scheme.size(), scheme) == 0) schemeLength = scheme.size();
        }
        bool wordStart = i == 0 || !std::isalnum(static_cast<unsigned char>(text[i - 1]));
        if (schemeLength && wordStart) {
            std::size_t end = i + schemeLength;
            while (end < text.size() && text[end] == ' ') ++end;
            std::size_t credentialEnd = end;
            while (credentialEnd < text.size() && isCredentialChar(text[credentialEnd])) ++credentialEnd;
            if (credentialEnd > end && looksLikeCredential(std::string_view(text).substr(end, credentialEnd - end))) {
                out.append(text, i, end - i);
                out += kRedacted;
                i = credentialEnd;
                continue;
            }
        }
        out += text[i++];
    }
    return out;
}

}  // namespace

std::string withoutSecrets(std::string_view message) {
    std::string text(message);
    auto first = text.find_first_not_of(" \t\r\n");
    if (first != std::string::npos && (text[first] == '{' || text[first] == '[')) {
        if (auto parsed = parseJSON(text); parsed && redactJSON(*parsed)) {
            // Keep the message's layout: pretty text stays pretty.
            int indent = text.find('\n') != std::string::npos ? 2 : -1;
            text = parsed->dump(indent, ' ', false, JSONDictionary::error_handler_t::replace);
        }
    }
    return redactSchemes(std::move(text));
}

}  // namespace quarra
