#pragma once
// The library's delivery snapshot as one JSON object (the "health" step).
#include <quarra/DataCollectorService.hpp>
#include <quarra/Json.hpp>

namespace quarra::cli {

JSONDictionary healthJson(const DataCollectorService::Health& health);

}  // namespace quarra::cli
