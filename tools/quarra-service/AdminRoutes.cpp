// Looking into what the service stored, and steering injected faults. Admin
// paths are never subject to faults, so a test can always clear them.
#include "HttpJson.hpp"
#include "Routes.hpp"

namespace quarra::service {

void installAdminRoutes(httplib::Server& server, ServiceContext& context) {
    server.Get("/admin/sessions", [&context](const httplib::Request&, httplib::Response& res) {
        sendJson(res, 200, context.storage.sessionsOverview());
    });
    server.Get(R"(/admin/sessions/([^/]+))", [&context](const httplib::Request& req, httplib::Response& res) {
        auto detail = context.storage.sessionDetail(req.matches[1].str());
        if (!detail) return sendError(res, ReplyStyle::platform, 404, "Unknown session: " + req.matches[1].str());
        sendJson(res, 200, *detail);
    });
    server.Get("/admin/logs", [&context](const httplib::Request&, httplib::Response& res) {
        sendJson(res, 200, context.storage.logRecords());
    });

    server.Get("/admin/faults", [&context](const httplib::Request&, httplib::Response& res) {
        sendJson(res, 200, context.faults.describe());
    });
    server.Post("/admin/faults", [&context](const httplib::Request& req, httplib::Response& res) {
        auto body = readJsonObject(req, res);
        if (!body) return;
        auto fault = Fault::fromJson(*body);
        if (auto* problem = std::get_if<std::string>(&fault)) return sendError(res, ReplyStyle::platform, 400, *problem);
        auto described = std::get<Fault>(fault).toJson();
        context.faults.add(std::get<Fault>(std::move(fault)));
        sendJson(res, 201, {{"fault", std::move(described)}});
    });
    server.Delete("/admin/faults", [&context](const httplib::Request&, httplib::Response& res) {
        sendJson(res, 200, {{"cleared", context.faults.clear()}});
    });
}

}  // namespace quarra::service
