#include "base/JsonText.hpp"

#include <algorithm>
#include <cmath>

#include "base/CompactJsonWriter.hpp"

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

// What our own writer leaves to the library: its compact text, every "/"
// escaped afterwards.
std::optional<std::string> compactJSONByTheLibrary(const JSONDictionary& value) {
    auto text = dump(value, -1);
    if (!text) return std::nullopt;
    // A "/" can only occur inside a string in JSON output, so escaping every
    // one of them is exact.
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

}  // namespace

std::optional<std::string> compactJSON(const JSONDictionary& value) {
    // Waiting reports and the outbox's entries keep this text for long, so
    // it carries no spare room.
    std::string written;
    written.reserve(256);
    if (!appendCompactJSON(written, value)) return compactJSONByTheLibrary(value);
    written.shrink_to_fit();
    return written;
}

std::optional<std::string> compactJSONString(std::string_view text) {
    std::string written;
    written.reserve(text.size() + 2);
    if (appendCompactJSONText(written, text)) return written;
    return compactJSONByTheLibrary(JSONDictionary(std::string(text)));
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
