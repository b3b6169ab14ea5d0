#include "support/HttpsTestServer.hpp"

#include <gtest/gtest.h>

namespace quarra::testing {
namespace {

// Long enough for connection reuse to show, short enough that stopping a
// server with idle clients does not hold a test up.
constexpr time_t kKeepAliveSeconds = 2;
constexpr size_t kKeepAliveRequests = 10'000;

}  // namespace

std::filesystem::path testDataDirectory() {
#ifdef QUARRA_TEST_DATA_DIR
    return QUARRA_TEST_DATA_DIR;
#else
    return std::filesystem::path(__FILE__).parent_path().parent_path() / "data";
#endif
}

std::filesystem::path testCAFile() { return testDataDirectory() / "tls" / "ca.pem"; }

TestCertificate trustedServerCertificate() {
    auto dir = testDataDirectory() / "tls";
    return {dir / "server.pem", dir / "server-key.pem"};
}

TestCertificate untrustedServerCertificate() {
    auto dir = testDataDirectory() / "tls";
    return {dir / "untrusted.pem", dir / "untrusted-key.pem"};
}

HttpsTestServer::HttpsTestServer(std::vector<Route> routes, TestCertificate certificate)
    : server_(certificate.certificate.c_str(), certificate.privateKey.c_str()) {
    if (!server_.is_valid()) {
        ADD_FAILURE() << "HTTPS test server could not load " << certificate.certificate;
        return;
    }
    server_.set_tcp_nodelay(true);  // answers go out at once, without waiting for delayed ACKs
    server_.set_keep_alive_timeout(kKeepAliveSeconds);
    server_.set_keep_alive_max_count(kKeepAliveRequests);
    for (auto& route : routes) {
        auto handler = [this, handler = std::move(route.handler)](const httplib::Request& request,
                                                                   httplib::Response& response) {
            record(request);
            handler(request, response);
        };
        if (route.method == "GET") {
            server_.Get(route.path, handler);
        } else if (route.method == "POST") {
            server_.Post(route.path, handler);
        } else if (route.method == "PUT") {
            server_.Put(route.path, handler);
        } else if (route.method == "PATCH") {
            server_.Patch(route.path, handler);
        } else if (route.method == "DELETE") {
            server_.Delete(route.path, handler);
        } else {
            ADD_FAILURE() << "HTTPS test server: unknown method " << route.method;
        }
    }

    port_ = server_.bind_to_any_port("127.0.0.1");
    if (port_ < 0) {
        ADD_FAILURE() << "HTTPS test server could not bind to 127.0.0.1";
        return;
    }
    thread_ = std::thread([this] {
        server_.listen_after_bind();
        listenEnded_ = true;
    });
    // The socket already listens; stop() only works once the accept loop runs.
    while (!server_.is_running() && !listenEnded_) std::this_thread::yield();
}

HttpsTestServer::~HttpsTestServer() {
    server_.stop();
    if (thread_.joinable()) thread_.join();
}

std::string HttpsTestServer::baseUrl() const { return "https://127.0.0.1:" + std::to_string(port_); }

std::string HttpsTestServer::url(std::string_view path) const { return baseUrl() + std::string(path); }

size_t HttpsTestServer::requestCount() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

size_t HttpsTestServer::connectionCount() const {
    std::lock_guard lock(mutex_);
    return connections_.size();
}

void HttpsTestServer::record(const httplib::Request& request) {
    std::lock_guard lock(mutex_);
    ++requests_;
    connections_.insert(request.remote_addr + ":" + std::to_string(request.remote_port));
}

}  // namespace quarra::testing
