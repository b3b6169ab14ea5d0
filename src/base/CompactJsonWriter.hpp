#pragma once
// A compact JSON writer for the values reports are made of, writing exactly
// what the JSON library's own writer writes (with "/" as "\/"), without its
// per-character output calls and UTF-8 decoding: reports are written on the
// host's thread when they pile up, and on the worker for every one.
#include <string>
#include <string_view>

#include <quarra/Json.hpp>

namespace quarra {

// Appends `value` to `out`. False, with `out` in no useful state, when the
// value holds something only the full writer takes care of: text that is not
// plain ASCII (it must be checked as UTF-8), a number that is not finite, a
// binary or a discarded value.
bool appendCompactJSON(std::string& out, const JSONDictionary& value);

// The same for one text, written as a JSON string.
bool appendCompactJSONText(std::string& out, std::string_view text);

}  // namespace quarra
