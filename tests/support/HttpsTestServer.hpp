#pragma once
// A real HTTPS server on 127.0.0.1 for integration tests: a table of handlers
// on an ephemeral port, serving until it goes out of scope.
#ifndef CPPHTTPLIB_OPENSSL_SUPPORT
#define CPPHTTPLIB_OPENSSL_SUPPORT
#endif
#include <httplib.h>

#include <atomic>
#include <filesystem>
#include <mutex>
#include <set>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace quarra::testing {

struct TestCertificate {
    std::filesystem::path certificate;
    std::filesystem::path privateKey;
};

// tests/data, and the files under tests/data/tls.
std::filesystem::path testDataDirectory();
std::filesystem::path testCAFile();              // the CA clients should trust
TestCertificate trustedServerCertificate();      // 127.0.0.1 and localhost, signed by the test CA
TestCertificate untrustedServerCertificate();    // the same names, self-signed, trusted by nobody

class HttpsTestServer {
public:
    // Handlers run on the server's worker threads.
    using Handler = std::function<void(const httplib::Request&, httplib::Response&)>;
    struct Route {
        std::string method;  // "GET", "POST", "PUT", "PATCH" or "DELETE"
        std::string path;    // a regular expression matched against the whole path
        Handler handler;
    };

    explicit HttpsTestServer(std::vector<Route> routes, TestCertificate certificate = trustedServerCertificate());
    ~HttpsTestServer();
    HttpsTestServer(const HttpsTestServer&) = delete;
    HttpsTestServer& operator=(const HttpsTestServer&) = delete;

    int port() const { return port_; }
    // "https://127.0.0.1:<port>", no trailing slash.
    std::string baseUrl() const;
    // baseUrl() + path, for example url("/api/data/collect/userData").
    std::string url(std::string_view path) const;

    // Requests that reached a handler, and the distinct client connections
    // (address and port) they came on.
    size_t requestCount() const;
    size_t connectionCount() const;

private:
    void record(const httplib::Request& request);

    httplib::SSLServer server_;
    int port_ = -1;
    std::atomic<bool> listenEnded_{false};
    std::thread thread_;
    mutable std::mutex mutex_;
    size_t requests_ = 0;
    std::set<std::string> connections_;
};

}  // namespace quarra::testing
