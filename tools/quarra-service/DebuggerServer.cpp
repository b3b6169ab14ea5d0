#include "DebuggerServer.hpp"

#include <atomic>
#include <charconv>
#include <memory>

#include "DebuggerAssets.hpp"
#include "HttpJson.hpp"
#include "Routes.hpp"

namespace quarra::service {
namespace {

// How long a stream waits for events before it writes a comment line: the
// write is how a closed browser is noticed.
constexpr std::chrono::milliseconds kHeartbeat{2000};

// No inline script or style, nothing from elsewhere: even a value that did
// reach the page as markup could not run.
constexpr const char* kContentPolicy =
    "default-src 'none'; script-src 'self'; style-src 'self'; connect-src 'self'; img-src 'self'; "
    "base-uri 'none'; form-action 'none'; frame-ancestors 'none'";

std::uint64_t startingPoint(const httplib::Request& req) {
    auto text = req.get_header_value("Last-Event-ID");
    if (text.empty()) text = req.get_param_value("after");
    std::uint64_t value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

void serveStream(EventFeed& feed, const std::shared_ptr<std::atomic<int>>& streams, const httplib::Request& req,
                 httplib::Response& res) {
    if (streams->fetch_add(1) >= kMostDebuggerStreams) {
        streams->fetch_sub(1);
        return sendError(res, ReplyStyle::platform, 503, "Too many open event streams");
    }
    res.set_header("Cache-Control", "no-store");
    auto position = std::make_shared<std::uint64_t>(startingPoint(req));
    res.set_chunked_content_provider(
        "text/event-stream",
        [&feed, position](std::size_t, httplib::DataSink& sink) {
            auto entries = feed.after(*position, kHeartbeat);
            if (feed.closed()) {
                sink.done();
                return true;
            }
            if (entries.empty()) {
                static constexpr std::string_view kComment = ": waiting\n\n";
                return sink.write(kComment.data(), kComment.size());
            }
            std::string text;
            for (const auto& entry : entries) {
                text += "id: " + std::to_string(entry.sequence) + "\ndata: " + entry.json + "\n\n";
            }
            *position = entries.back().sequence;
            return sink.write(text.data(), text.size());
        },
        [streams](bool) { streams->fetch_sub(1); });
}

void addPageHeaders(httplib::Response& res) {
    res.set_header("Content-Security-Policy", kContentPolicy);
    res.set_header("X-Content-Type-Options", "nosniff");
    res.set_header("Referrer-Policy", "no-referrer");
    res.set_header("Cache-Control", "no-store");
}

}  // namespace

void configureDebugger(httplib::Server& server, ServiceContext& context, EventFeed& feed, int port) {
    server.set_keep_alive_timeout(2);
    server.set_read_timeout(5);
    // A browser that stops reading fails its stream after this, freeing the thread.
    server.set_write_timeout(5);
    server.set_payload_max_length(64 * 1024);

    const auto portText = ":" + std::to_string(port);
    server.set_pre_routing_handler([portText](const httplib::Request& req, httplib::Response& res) {
        auto host = req.get_header_value("Host");
        if (host == "127.0.0.1" + portText || host == "localhost" + portText) {
            return httplib::Server::HandlerResponse::Unhandled;
        }
        sendError(res, ReplyStyle::platform, 403, "The debugger answers only to http://127.0.0.1" + portText + "/");
        return httplib::Server::HandlerResponse::Handled;
    });
    server.set_exception_handler([](const httplib::Request&, httplib::Response& res, std::exception_ptr) {
        sendError(res, ReplyStyle::platform, 500, "Internal error");
    });

    for (const auto& asset : debuggerAssets()) {
        server.Get(std::string(asset.path), [&asset](const httplib::Request&, httplib::Response& res) {
            addPageHeaders(res);
            res.set_content(asset.body.data(), asset.body.size(), std::string(asset.contentType));
        });
    }
    auto streams = std::make_shared<std::atomic<int>>(0);
    server.Get("/events", [&feed, streams](const httplib::Request& req, httplib::Response& res) {
        serveStream(feed, streams, req, res);
    });
    // The same JSON as on the HTTPS origin, without needing its CA.
    installAdminRoutes(server, context);
}

}  // namespace quarra::service
