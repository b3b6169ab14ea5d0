// The data collector: report envelopes under "/api/data/collect/{apiName}" and
// the certification base "/certification/v1/{apiName}".
#include "Envelope.hpp"
#include "HttpJson.hpp"
#include "Routes.hpp"

namespace quarra::service {
namespace {

constexpr std::size_t kLongestIdempotencyKey = 128;

void sendAnswer(httplib::Response& res, const std::string& code, const std::string& text) {
    // Refusals are 200 answers: clients read the code only from 2xx bodies.
    sendJson(res, 200, {{"ResponseCode", code}, {"ResponseText", text}});
}

void collect(ServiceContext& context, const httplib::Request& req, httplib::Response& res) {
    auto envelope = readJsonObject(req, res);
    if (!envelope) return;
    auto checked = checkEnvelope(*envelope);
    if (auto* problem = std::get_if<EnvelopeProblem>(&checked)) return sendAnswer(res, problem->code, problem->reason);
    const auto& report = std::get<CheckedEnvelope>(checked);
    if (!context.storage.session(report.sessionId)) {
        return sendAnswer(res, kUnknownSession, "Unknown sessionId: " + report.sessionId);
    }
    // A key too long to be one of ours is not trusted to name a report.
    std::string key = req.get_header_value("Idempotency-Key");
    if (key.size() > kLongestIdempotencyKey) key.clear();
    if (!context.storage.addReport(report.sessionId, req.matches[1].str(), report.reportKey, req.body, key)) {
        return sendAnswer(res, kAccepted, kRepeatAnswerText);
    }
    sendAnswer(res, kAccepted, "Report saved");
}

}  // namespace

void installCollectorRoutes(httplib::Server& server, ServiceContext& context) {
    auto handler = withFaults(context, [&context](const auto& req, auto& res) { collect(context, req, res); });
    server.Post(R"(/api/data/collect/([^/]*))", handler);
    server.Post(R"(/certification/v1/([^/]*))", handler);
}

}  // namespace quarra::service
