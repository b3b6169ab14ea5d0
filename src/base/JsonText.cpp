#include "base/JsonText.hpp"

#include <algorithm>
#include <cmath>

namespace quarra {
namespace {

bool allNumbersFinite(const JSONDictionary& value) {
    if (value.is_number_float()) return std::isfinite(value.get<double>());
    if (value.is_structured()) {
        for (const auto& item : value) {
            if (!allNumbersFinite(item)) return false;
        }
    }
    return true;
}

std::optional<std::string> dump(const JSONDictionary& value, int indent) {
    if (!allNumbersFinite(value)) return std::nullopt;
    try {
        return value.dump(indent);
    } catch (const nlohmann::json::exception&) {
        return std::nullopt;  // invalid UTF-8 in a text
    }
}

}  // namespace

std::optional<std::string> compactJSON(const JSONDictionary& value) {
    auto text = dump(value, -1);
    if (!text) return std::nullopt;
    // A "/" can only occur inside a string in JSON output, so escaping every
    // one of them is exact. The writer grows its text by doubling; a text kept
    // for long (waiting reports, the outbox's entries) should not carry that
    // spare room, so the result is sized exactly.
    const size_t slashes = static_cast<size_t>(std::count(text->begin(), text->end(), '/'));
    if (slashes == 0) {
        text->shrink_to_fit();
        return text;
    }
    std::string out;
    out.reserve(text->size() + slashes);
    size_t from = 0;
    for (size_t slash = text->find('/'); slash != std::string::npos; from = slash + 1, slash = text->find('/', from)) {
        out.append(*text, from, slash - from);
        out += "\\/";
    }
    out.append(*text, from);
    return out;
}

std::optional<std::string> compactJSONString(std::string_view text) {
    size_t slashes = 0;
    for (const char c : text) {
        // Anything the writer would escape, or check as UTF-8, takes the long way.
        if (c < 0x20 || c > 0x7e || c == '"' || c == '\\') return compactJSON(JSONDictionary(std::string(text)));
        if (c == '/') ++slashes;
    }
    std::string out;
    out.reserve(text.size() + slashes + 2);
    out += '"';
    for (const char c : text) {
        if (c == '/') out += '\\';
        out += c;
    }
    out += '"';
    return out;
}

std::optional<std::string> prettyJSON(const JSONDictionary& value) { return dump(value, 2); }

std::string prettyPrintedOrFallback(const JSONDictionary& value) {
    auto text = prettyJSON(value);
    return text ? *text : std::string(kPrettyPrintFallback);
}

std::optional<JSONDictionary> parseJSON(std::string_view body) {
    auto parsed = JSONDictionary::parse(body, nullptr, /*allow_exceptions=*/false);
    if (parsed.is_discarded()) return std::nullopt;
    return parsed;
}

}  // namespace quarra
