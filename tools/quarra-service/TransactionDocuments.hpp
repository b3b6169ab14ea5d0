#pragma once
// Checks of the transaction platform's request documents. Each answers the
// first problem found, or nothing when the document is well formed.
#include <optional>
#include <string>

#include <nlohmann/json.hpp>

namespace quarra::service {

std::optional<std::string> problemInTransactionEvent(const nlohmann::json& request);
std::optional<std::string> problemInEvaluation(const nlohmann::json& request);
std::optional<std::string> problemInCancellation(const nlohmann::json& request);

}  // namespace quarra::service
