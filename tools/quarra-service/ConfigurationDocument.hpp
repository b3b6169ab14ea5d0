#pragma once
// The session configuration document answered to the initiate call.
#include <string>

#include <nlohmann/json.hpp>

#include "ServiceSettings.hpp"
#include "Storage.hpp"

namespace quarra::service {

// Every report feature under its own name as apiName, the collector and log
// bases of this server, and the flags from the settings.
nlohmann::json configurationDocument(const SessionRecord& session, const ServiceSettings& settings,
                                     const std::string& baseUrl);

}  // namespace quarra::service
