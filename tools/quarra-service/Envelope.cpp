#include "Envelope.hpp"

#include <algorithm>
#include <iterator>

namespace quarra::service {
namespace {

struct ReportKind {
    const char* key;
    bool isArray;  // user events and activity streams travel as arrays
};

constexpr ReportKind kReportKinds[] = {
    {"userData", false},         {"userLocation", false},          {"events", true},
    {"activityStream", true},    {"accelerometerData", false},     {"fingerprintPro", false},
    {"InsertSocialData", false}, {"InsertPerformanceData", false}, {"InsertLogData", false},
};

EnvelopeProblem invalid(std::string reason) { return {kEnvelopeInvalid, std::move(reason)}; }

}  // namespace

std::variant<CheckedEnvelope, EnvelopeProblem> checkEnvelope(const nlohmann::json& envelope) {
    if (!envelope.is_object()) return invalid("The envelope must be a JSON object");
    auto sessionId = envelope.find("sessionId");
    if (sessionId == envelope.end() || !sessionId->is_string()) return invalid("sessionId must be a string");
    if (sessionId->get<std::string>().empty()) return EnvelopeProblem{kUnknownSession, "sessionId is empty"};
    auto clientName = envelope.find("clientName");
    if (clientName == envelope.end() || !clientName->is_string() || clientName->get<std::string>().empty()) {
        return invalid("clientName must be a non-empty string");
    }

    std::string reportKey;
    for (const auto& [key, value] : envelope.items()) {
        if (key == "sessionId" || key == "clientName") continue;
        if (!reportKey.empty()) return invalid("The envelope holds more than one report: " + reportKey + ", " + key);
        reportKey = key;
    }
    if (reportKey.empty()) return invalid("The envelope holds no report");

    auto kind = std::find_if(std::begin(kReportKinds), std::end(kReportKinds),
                             [&](const ReportKind& k) { return reportKey == k.key; });
    if (kind == std::end(kReportKinds)) return invalid("Unknown report key: " + reportKey);
    const auto& report = envelope[reportKey];
    if (kind->isArray ? !report.is_array() : !report.is_object()) {
        return invalid(reportKey + (kind->isArray ? " must be an array" : " must be an object"));
    }
    if (kind->isArray && report.empty()) return invalid(reportKey + " must not be empty");
    return CheckedEnvelope{sessionId->get<std::string>(), reportKey};
}

}  // namespace quarra::service
