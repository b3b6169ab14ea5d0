#pragma once
// Typed reading of one JSON object of a scenario, with messages that name
// where the problem is ("step 3 (\"location\"): \"latitude\" must be ...").
// Every key asked for counts as known; finish() refuses any other key, so a
// misspelt key is reported instead of silently ignored.
#include <cstdint>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>

#include <quarra/Json.hpp>

namespace quarra::cli {

// Thrown while reading a scenario and turned into its message at the edge.
class ScenarioError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class FieldReader {
public:
    // `where` prefixes every message; `object` must outlive the reader.
    FieldReader(const JSONDictionary& object, std::string where);

    std::string text(const std::string& key);
    std::optional<std::string> optionalText(const std::string& key);
    bool boolean(const std::string& key);
    double number(const std::string& key, double lowest, double highest);
    int64_t integer(const std::string& key, int64_t lowest, int64_t highest);
    std::optional<int64_t> optionalInteger(const std::string& key, int64_t lowest, int64_t highest);
    const JSONDictionary& object(const std::string& key);
    // Null when the key is absent.
    const JSONDictionary* optionalObject(const std::string& key);
    const JSONDictionary& array(const std::string& key);
    // The value as it is, whatever its type.
    const JSONDictionary& any(const std::string& key);

    // Refuses keys that were never asked for.
    void finish() const;
    [[noreturn]] void fail(const std::string& message) const;
    // The prefix of every message, for a reader of a nested object.
    const std::string& where() const { return where_; }

private:
    const JSONDictionary* find(const std::string& key);
    const JSONDictionary& required(const std::string& key, const char* expected);

    const JSONDictionary& object_;
    std::string where_;
    std::set<std::string> known_;
};

// A value as a short JSON text for messages (long values are cut).
std::string shortJSON(const JSONDictionary& value);

}  // namespace quarra::cli
