#pragma once
/**
 * @file
 * @brief The JSON dictionary every report, envelope and answer is made of.
 */
#include <nlohmann/json.hpp>

namespace quarra {

/**
 * @brief A string-keyed JSON object whose values are texts, numbers, booleans, nested objects or arrays.
 *
 * Key order carries no meaning. It is nlohmann::json: a value type, with the
 * thread rules of any standard container (one writer, or many readers).
 */
using JSONDictionary = nlohmann::json;

}  // namespace quarra
