#pragma once
// The JSON dictionary every report, envelope and answer is made of.
#include <nlohmann/json.hpp>

namespace quarra {

// A string-keyed JSON object whose values are texts, numbers, booleans,
// nested objects or arrays. Key order carries no meaning.
using JSONDictionary = nlohmann::json;

}  // namespace quarra
