// The log endpoint: {"LogData": text, "SessionKey": text}, answered with
// {"ResponseCode", "ResponseText"}.
#include "Envelope.hpp"
#include "HttpJson.hpp"
#include "Routes.hpp"

namespace quarra::service {
namespace {

void insertLogData(ServiceContext& context, const httplib::Request& req, httplib::Response& res) {
    auto body = readJsonObject(req, res);
    if (!body) return;
    auto logData = stringMember(*body, "LogData");
    auto sessionKey = stringMember(*body, "SessionKey");
    if (!logData || !sessionKey) {
        return sendJson(res, 200,
                        {{"ResponseCode", kEnvelopeInvalid}, {"ResponseText", "LogData and SessionKey must be strings"}});
    }
    // Records are kept even without a known session: they are diagnostics,
    // and a client may still hold a session key from before a restart.
    context.storage.addLogRecord(*sessionKey, *logData);
    sendJson(res, 200, {{"ResponseCode", kAccepted}, {"ResponseText", "Log record saved"}});
}

}  // namespace

void installLogRoutes(httplib::Server& server, ServiceContext& context) {
    server.Post("/certification/v1/InsertLogData/", withFaults(context, [&context](const auto& req, auto& res) {
                    insertLogData(context, req, res);
                }));
}

}  // namespace quarra::service
