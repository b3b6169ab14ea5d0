#pragma once
// Reading one member of a small, flat JSON object without building a JSON
// value: the collector answers every report with one, and most say the same.
#include <optional>
#include <string_view>

namespace quarra {

// The value of `key` when `json` is an object whose members are all plain
// texts (printable ASCII, no escapes) and `key` is one of them, once. Nothing
// when it is anything else (nested values, numbers, escapes, a repeated key,
// not JSON at all): the caller then parses it in full.
std::optional<std::string_view> plainJSONMember(std::string_view json, std::string_view key);

}  // namespace quarra
