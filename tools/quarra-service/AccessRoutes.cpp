// The token call (Basic credential) and the initiate call that opens a session.
#include "ConfigurationDocument.hpp"
#include "HttpJson.hpp"
#include "Identifiers.hpp"
#include "Routes.hpp"

namespace quarra::service {
namespace {

void accessToken(ServiceContext& context, const httplib::Request& req, httplib::Response& res) {
    auto granted = context.accounts.grant(req.get_header_value("Authorization"));
    if (!granted) {
        sendError(res, ReplyStyle::platform, 401, "Invalid credentials");
        res.set_header("WWW-Authenticate", "Basic realm=\"quarra-service\"");
        return;
    }
    // Clients send the empty object; an empty body is taken as one too.
    if (!req.body.empty() && !readJsonObject(req, res)) return;
    // Every value is text, "expiresIn" included: that is how clients decode it.
    sendJson(res, 200,
             {{"accessToken", granted->accessToken},
              {"refreshToken", granted->refreshToken},
              {"tokenType", "Bearer"},
              {"expiresIn", std::to_string(granted->expiresIn.count())},
              {"message", "Access token issued"}});
}

void initiate(ServiceContext& context, const httplib::Request& req, httplib::Response& res) {
    auto account = requireBearer(context, req, res);
    if (!account) return;
    auto body = readJsonObject(req, res);
    if (!body) return;
    for (const char* key : {"ipV6Address", "ipV4Address", "customerName", "deviceId"}) {
        if (body->contains(key) && !(*body)[key].is_string()) {
            return sendError(res, ReplyStyle::platform, 400, std::string(key) + " must be a string");
        }
    }
    SessionRecord session{
        .id = newUuid(),
        .account = *account,
        .customerName = stringMember(*body, "customerName").value_or(""),
        .deviceId = stringMember(*body, "deviceId").value_or(""),
        .ipV4Address = stringMember(*body, "ipV4Address").value_or(""),
        .ipV6Address = stringMember(*body, "ipV6Address").value_or(""),
        .remoteAddress = req.remote_addr,
        .userAgent = req.get_header_value("User-Agent"),
        .createdAt = nowTimestamp(),
    };
    context.storage.addSession(session);
    sendJson(res, 200, configurationDocument(session, context.settings, context.baseUrl));
}

}  // namespace

void installAccessRoutes(httplib::Server& server, ServiceContext& context) {
    server.Post("/api/accessToken", withFaults(context, [&context](const auto& req, auto& res) {
                    accessToken(context, req, res);
                }));
    server.Post("/api/v1/transactions/initiate", withFaults(context, [&context](const auto& req, auto& res) {
                    initiate(context, req, res);
                }));
}

}  // namespace quarra::service
