#pragma once
// The report dictionaries a session's stored envelopes carry, unwrapped from
// the envelope shape of each kind, so they compare with what the host sent.
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace quarra::e2e {

using Json = nlohmann::json;

// Every stored report of `reportKey` ("events", "activityStream",
// "accelerometerData", "userLocation", "userData", ...) in one session detail.
std::vector<Json> storedReports(const Json& sessionDetail, const std::string& reportKey);

// How many of `reports` equal `report`.
int copiesOf(const std::vector<Json>& reports, const Json& report);

// The "sessionId" of every stored envelope of a session detail.
std::vector<std::string> envelopeSessionIds(const Json& sessionDetail);

}  // namespace quarra::e2e
