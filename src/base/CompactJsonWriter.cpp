#include "base/CompactJsonWriter.hpp"

#include <charconv>
#include <cmath>

namespace quarra {
namespace {

constexpr char kHex[] = "0123456789abcdef";

// What a byte becomes inside a JSON string: itself (empty), or an escape.
std::string_view escapeOf(unsigned char byte, char (&unicode)[7]) {
    switch (byte) {
        case '"': return "\\\"";
        case '\\': return "\\\\";
        case '/': return "\\/";
        case '\b': return "\\b";
        case '\t': return "\\t";
        case '\n': return "\\n";
        case '\f': return "\\f";
        case '\r': return "\\r";
        default:
            if (byte >= 0x20) return {};
            unicode[4] = kHex[byte >> 4];
            unicode[5] = kHex[byte & 0xf];
            return {unicode, 6};
    }
}

template <typename Number>
void appendNumber(std::string& out, Number number) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, number).ptr;
    out.append(digits, end);
}

}  // namespace

bool appendCompactJSONText(std::string& out, std::string_view text) {
    char unicode[7] = {'\\', 'u', '0', '0', 0, 0, 0};
    out += '"';
    size_t plainFrom = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte >= 0x80) return false;
        const std::string_view escape = escapeOf(byte, unicode);
        if (escape.empty()) continue;
        out.append(text.substr(plainFrom, i - plainFrom));
        out += escape;
        plainFrom = i + 1;
    }
    out.append(text.substr(plainFrom));
    out += '"';
    return true;
}

bool appendCompactJSON(std::string& out, const JSONDictionary& value) {
    using Type = JSONDictionary::value_t;
    switch (value.type()) {
        case Type::null:
            out += "null";
            return true;
        case Type::boolean:
            out += value.get<bool>() ? "true" : "false";
            return true;
        case Type::number_integer:
            appendNumber(out, value.get<JSONDictionary::number_integer_t>());
            return true;
        case Type::number_unsigned:
            appendNumber(out, value.get<JSONDictionary::number_unsigned_t>());
            return true;
        case Type::number_float: {
            const double number = value.get<double>();
            if (!std::isfinite(number)) return false;
            // The library's own shortest round-trip form ("1.0", "1e+20"), so
            // that the text stays what it has always been.
            char digits[64];
            out.append(digits, nlohmann::detail::to_chars(digits, digits + sizeof digits, number));
            return true;
        }
        case Type::string:
            return appendCompactJSONText(out, value.get_ref<const std::string&>());
        case Type::array: {
            out += '[';
            bool first = true;
            for (const auto& item : value) {
                if (!first) out += ',';
                first = false;
                if (!appendCompactJSON(out, item)) return false;
            }
            out += ']';
            return true;
        }
        case Type::object: {
            out += '{';
            bool first = true;
            for (auto member = value.cbegin(); member != value.cend(); ++member) {
                if (!first) out += ',';
                first = false;
                if (!appendCompactJSONText(out, member.key())) return false;
                out += ':';
                if (!appendCompactJSON(out, member.value())) return false;
            }
            out += '}';
            return true;
        }
        case Type::binary:
        case Type::discarded:
            return false;
    }
    return false;
}

}  // namespace quarra
