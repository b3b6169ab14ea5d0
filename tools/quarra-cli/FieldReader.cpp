#include "FieldReader.hpp"

#include <cmath>
#include <limits>

#include <fmt/format.h>

namespace quarra::cli {
namespace {

std::string quoted(const std::string& key) { return "\"" + key + "\""; }

std::string typeName(const JSONDictionary& value) {
    if (value.is_null()) return "null";
    if (value.is_boolean()) return "a Boolean";
    if (value.is_number()) return "a number";
    if (value.is_string()) return "a text";
    if (value.is_array()) return "an array";
    return "an object";
}

}  // namespace

FieldReader::FieldReader(const JSONDictionary& object, std::string where) : object_(object), where_(std::move(where)) {}

void FieldReader::fail(const std::string& message) const { throw ScenarioError(where_ + ": " + message); }

const JSONDictionary* FieldReader::find(const std::string& key) {
    known_.insert(key);
    auto found = object_.find(key);
    return found == object_.end() ? nullptr : &*found;
}

const JSONDictionary& FieldReader::required(const std::string& key, const char* expected) {
    const auto* value = find(key);
    if (!value) fail(quoted(key) + " is missing (" + expected + ")");
    return *value;
}

std::string FieldReader::text(const std::string& key) {
    const auto& value = required(key, "a text");
    if (!value.is_string()) fail(quoted(key) + " must be a text, not " + typeName(value));
    return value.get<std::string>();
}

std::optional<std::string> FieldReader::optionalText(const std::string& key) {
    if (!object_.contains(key)) {
        known_.insert(key);
        return std::nullopt;
    }
    return text(key);
}

bool FieldReader::boolean(const std::string& key) {
    const auto& value = required(key, "true or false");
    if (!value.is_boolean()) fail(quoted(key) + " must be true or false, not " + typeName(value));
    return value.get<bool>();
}

double FieldReader::number(const std::string& key, double lowest, double highest) {
    const auto& value = required(key, "a number");
    if (!value.is_number()) fail(quoted(key) + " must be a number, not " + typeName(value));
    double number = value.get<double>();
    if (!(number >= lowest && number <= highest)) {
        fail(fmt::format("{} must be a number from {} to {}, not {}", quoted(key), lowest, highest, shortJSON(value)));
    }
    return number;
}

int64_t FieldReader::integer(const std::string& key, int64_t lowest, int64_t highest) {
    const auto& value = required(key, "a whole number");
    auto range = " from " + std::to_string(lowest) + " to " + std::to_string(highest);
    if (!value.is_number_integer()) fail(quoted(key) + " must be a whole number" + range + ", not " + shortJSON(value));
    bool inRange = value.is_number_unsigned()
                       ? value.get<uint64_t>() <= static_cast<uint64_t>(std::numeric_limits<int64_t>::max()) &&
                             value.get<int64_t>() >= lowest && value.get<int64_t>() <= highest
                       : value.get<int64_t>() >= lowest && value.get<int64_t>() <= highest;
    if (!inRange) fail(quoted(key) + " must be a whole number" + range + ", not " + shortJSON(value));
    return value.get<int64_t>();
}

std::optional<int64_t> FieldReader::optionalInteger(const std::string& key, int64_t lowest, int64_t highest) {
    if (!object_.contains(key)) {
        known_.insert(key);
        return std::nullopt;
    }
    return integer(key, lowest, highest);
}

const JSONDictionary& FieldReader::object(const std::string& key) {
    const auto& value = required(key, "an object");
    if (!value.is_object()) fail(quoted(key) + " must be an object, not " + typeName(value));
    return value;
}

const JSONDictionary* FieldReader::optionalObject(const std::string& key) {
    if (!object_.contains(key)) {
        known_.insert(key);
        return nullptr;
    }
    return &object(key);
}

const JSONDictionary& FieldReader::array(const std::string& key) {
    const auto& value = required(key, "an array");
    if (!value.is_array()) fail(quoted(key) + " must be an array, not " + typeName(value));
    return value;
}

const JSONDictionary& FieldReader::any(const std::string& key) { return required(key, "a value"); }

void FieldReader::finish() const {
    for (const auto& [key, value] : object_.items()) {
        if (!known_.contains(key)) {
            std::string names;
            for (const auto& name : known_) names += (names.empty() ? "" : ", ") + quoted(name);
            fail("unknown key " + quoted(key) + " (expected " + names + ")");
        }
    }
}

std::string shortJSON(const JSONDictionary& value) {
    constexpr std::size_t kLongest = 40;
    auto text = value.dump(-1, ' ', false, JSONDictionary::error_handler_t::replace);
    if (text.size() > kLongest) text = text.substr(0, kLongest) + "...";
    return text;
}

}  // namespace quarra::cli
