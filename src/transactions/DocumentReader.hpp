#pragma once
// Strict reading of the transaction documents' JSON objects.
//
// A required key must be present, not null and of the right JSON type; an
// optional key may be missing or null, but when it holds a value that value
// must be of the right type. Any violation marks the whole document failed.
// Nothing here throws.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <quarra/Json.hpp>

namespace quarra {

// How one JSON value becomes a T; records provide a static fromJSON().
template <class T>
struct JsonValue {
    static std::optional<T> from(const JSONDictionary& value) { return T::fromJSON(value); }
};

template <>
struct JsonValue<std::string> {
    static std::optional<std::string> from(const JSONDictionary& value);
};

// Any JSON number (booleans are not numbers).
template <>
struct JsonValue<double> {
    static std::optional<double> from(const JSONDictionary& value);
};

// A whole number within signed 64 bits; 3.0 is whole, 2.5 and true are not.
template <>
struct JsonValue<int64_t> {
    static std::optional<int64_t> from(const JSONDictionary& value);
};

template <>
struct JsonValue<bool> {
    static std::optional<bool> from(const JSONDictionary& value);
};

template <class T>
struct JsonValue<std::vector<T>> {
    static std::optional<std::vector<T>> from(const JSONDictionary& value) {
        if (!value.is_array()) return std::nullopt;
        std::vector<T> items;
        items.reserve(value.size());
        for (const auto& element : value) {
            auto item = JsonValue<T>::from(element);
            if (!item) return std::nullopt;
            items.push_back(std::move(*item));
        }
        return items;
    }
};

class DocumentReader {
public:
    // A value that is not a JSON object fails at once.
    explicit DocumentReader(const JSONDictionary& json) : json_(json), ok_(json.is_object()) {}

    // True while every key read so far was acceptable.
    bool ok() const { return ok_; }

    template <class T>
    std::optional<T> required(const char* key) {
        const JSONDictionary* value = lookup(key);
        if (value == nullptr) return fail<T>();
        auto converted = JsonValue<T>::from(*value);
        if (!converted) return fail<T>();
        return converted;
    }

    template <class T>
    std::optional<T> optional(const char* key) {
        const JSONDictionary* value = lookup(key);
        if (value == nullptr) return std::nullopt;
        auto converted = JsonValue<T>::from(*value);
        if (!converted) return fail<T>();
        return converted;
    }

private:
    // The value under `key`, or nullptr when missing or null.
    const JSONDictionary* lookup(const char* key) const;

    template <class T>
    std::optional<T> fail() {
        ok_ = false;
        return std::nullopt;
    }

    const JSONDictionary& json_;
    bool ok_;
};

// A JSON array of each item's toJSON(); [] when empty.
template <class T>
JSONDictionary listToJSON(const std::vector<T>& items) {
    auto array = JSONDictionary::array();
    for (const auto& item : items) array.push_back(item.toJSON());
    return array;
}

}  // namespace quarra
