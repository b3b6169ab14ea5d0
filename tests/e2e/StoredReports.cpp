#include "StoredReports.hpp"

#include <algorithm>

namespace quarra::e2e {
namespace {

const Json& member(const Json& object, const std::string& key) {
    static const Json kNull;
    if (!object.is_object()) return kNull;
    auto found = object.find(key);
    return found == object.end() ? kNull : *found;
}

const Json& first(const Json& array) {
    static const Json kNull;
    return array.is_array() && !array.empty() ? array[0] : kNull;
}

// {"events": [D]}, {"activityStream": [{"url", "activityStream": [D]}]}, else {key: D}.
Json unwrap(const Json& envelope, const std::string& reportKey) {
    const Json& report = member(envelope, reportKey);
    if (reportKey == "events") return first(report);
    if (reportKey == "activityStream") return first(member(first(report), "activityStream"));
    return report;
}

}  // namespace

std::vector<Json> storedReports(const Json& sessionDetail, const std::string& reportKey) {
    std::vector<Json> reports;
    const Json& stored = member(sessionDetail, "reports");
    if (!stored.is_array()) return reports;
    for (const auto& entry : stored) {
        if (member(entry, "reportKey") == reportKey) reports.push_back(unwrap(member(entry, "envelope"), reportKey));
    }
    return reports;
}

int copiesOf(const std::vector<Json>& reports, const Json& report) {
    return static_cast<int>(std::count(reports.begin(), reports.end(), report));
}

std::vector<std::string> envelopeSessionIds(const Json& sessionDetail) {
    std::vector<std::string> ids;
    const Json& stored = member(sessionDetail, "reports");
    if (!stored.is_array()) return ids;
    for (const auto& entry : stored) {
        const Json& id = member(member(entry, "envelope"), "sessionId");
        ids.push_back(id.is_string() ? id.get<std::string>() : "<not a text>");
    }
    return ids;
}

}  // namespace quarra::e2e
