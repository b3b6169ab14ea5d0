#include "Server.hpp"

#include <cstdio>
#include <exception>

#include "HttpJson.hpp"
#include "RequestEvents.hpp"
#include "Routes.hpp"

namespace quarra::service {
namespace {

std::string errorText(int status) {
    switch (status) {
        case 400: return "Bad request: malformed request line or headers, or an unsupported method";
        case 404: return "Not found";
        case 405: return "Method not allowed";
        case 413: return "Body too large (at most 1 MiB)";
        case 414: return "Request target too long";
        case 431: return "Request headers too large";
        default: return "HTTP error " + std::to_string(status);
    }
}

}  // namespace

void configureServer(httplib::Server& server, ServiceContext& context, bool logRequests) {
    server.set_payload_max_length(kMaxBodyBytes);
    // Short idle keep-alive so that a stop is not held up by idle clients.
    server.set_keep_alive_timeout(2);
    server.set_read_timeout(5);
    server.set_write_timeout(5);

    // Errors raised by the server itself (bad request line, body too large,
    // ...) get a JSON body like every other answer.
    httplib::Server::HandlerWithResponse jsonErrors = [](const httplib::Request& req, httplib::Response& res) {
        if (!res.body.empty()) return httplib::Server::HandlerResponse::Unhandled;
        sendError(res, req, res.status, errorText(res.status));
        return httplib::Server::HandlerResponse::Handled;
    };
    server.set_error_handler(jsonErrors);
    server.set_exception_handler([](const httplib::Request& req, httplib::Response& res, std::exception_ptr error) {
        std::string what = "unknown error";
        try {
            if (error) std::rethrow_exception(error);
        } catch (const std::exception& e) {
            what = e.what();
        } catch (...) {
        }
        std::fprintf(stderr, "quarra-service: %s %s failed: %s\n", req.method.c_str(), req.path.c_str(), what.c_str());
        sendError(res, req, 500, "Internal error: " + what);
    });
    // Runs just before the answer is written: a client that saw its answer
    // finds the exchange already in the feed, in the order it made its calls.
    server.set_post_routing_handler([&context](const httplib::Request& req, httplib::Response& res) {
        try {
            if (auto event = describeExchange(req, res)) context.feed.publish(std::move(*event));
        } catch (const std::exception& error) {
            std::fprintf(stderr, "quarra-service: cannot show %s %s in the debugger: %s\n", req.method.c_str(),
                         req.path.c_str(), error.what());
        }
    });
    if (logRequests) {
        server.set_logger([](const httplib::Request& req, const httplib::Response& res) {
            std::fprintf(stderr, "quarra-service: %s %s -> %d\n", req.method.c_str(), req.path.c_str(), res.status);
        });
    }

    installAccessRoutes(server, context);
    installLogRoutes(server, context);
    installCollectorRoutes(server, context);
    installTransactionRoutes(server, context);
    installAdminRoutes(server, context);
    installFallbackRoutes(server, context);
}

}  // namespace quarra::service
