// Answers for requests no route takes: 405 with "Allow" when the path exists
// under other methods, 404 otherwise, both as JSON.
#include <iterator>
#include <regex>
#include <set>

#include "HttpJson.hpp"
#include "Routes.hpp"

namespace quarra::service {
namespace {

struct KnownRoute {
    std::regex pattern;
    std::set<std::string> methods;
};

const std::vector<KnownRoute>& knownRoutes() {
    static const std::vector<KnownRoute> routes{
        {std::regex("/api/accessToken"), {"POST"}},
        {std::regex("/api/v1/transactions/initiate"), {"POST"}},
        {std::regex("/api/v1/transactions/transactionStatus"), {"PATCH"}},
        {std::regex("/api/v1/transactions/evaluate/[^/]*"), {"POST"}},
        {std::regex("/api/v1/transactions/[^/]*"), {"PUT"}},
        {std::regex("/api/data/collect/[^/]*"), {"POST"}},
        {std::regex("/certification/v1/[^/]*/?"), {"POST"}},
        {std::regex("/admin/sessions(/[^/]+)?"), {"GET"}},
        {std::regex("/admin/logs"), {"GET"}},
        {std::regex("/admin/faults"), {"DELETE", "GET", "POST"}},
    };
    return routes;
}

void noRoute(const httplib::Request& req, httplib::Response& res) {
    std::set<std::string> allowed;
    for (const auto& route : knownRoutes()) {
        if (std::regex_match(req.path, route.pattern)) allowed.insert(route.methods.begin(), route.methods.end());
    }
    if (allowed.empty()) return sendError(res, req, 404, "No such endpoint: " + req.path);
    std::string list;
    for (const auto& method : allowed) list += (list.empty() ? "" : ", ") + method;
    res.set_header("Allow", list);
    sendError(res, req, 405, req.method + " is not allowed on " + req.path + "; use " + list);
}

}  // namespace

void installFallbackRoutes(httplib::Server& server, ServiceContext& context) {
    auto handler = withFaults(context, noRoute);
    server.Get(".*", handler);
    server.Post(".*", handler);
    server.Put(".*", handler);
    server.Patch(".*", handler);
    server.Delete(".*", handler);
    server.Options(".*", handler);
}

}  // namespace quarra::service
