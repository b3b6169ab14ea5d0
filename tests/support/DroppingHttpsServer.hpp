#pragma once
// A TLS server on 127.0.0.1 that reads each request and closes the
// connection without answering, as a crashing or resetting server would.
#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "support/HttpsTestServer.hpp"

namespace quarra::testing {

class DroppingHttpsServer {
public:
    explicit DroppingHttpsServer(TestCertificate certificate = trustedServerCertificate());
    ~DroppingHttpsServer();
    DroppingHttpsServer(const DroppingHttpsServer&) = delete;
    DroppingHttpsServer& operator=(const DroppingHttpsServer&) = delete;

    std::string baseUrl() const { return "https://127.0.0.1:" + std::to_string(port_); }
    // Requests read and then dropped.
    size_t droppedCount() const { return dropped_.load(); }

private:
    void serve();
    void dropOne(int connection);

    int listener_ = -1;
    int port_ = -1;
    struct ssl_ctx_st* context_ = nullptr;
    std::atomic<size_t> dropped_{0};
    std::thread thread_;
};

// A port on 127.0.0.1 that refuses connections for as long as the value lives.
class RefusingPort {
public:
    RefusingPort();
    ~RefusingPort();
    RefusingPort(const RefusingPort&) = delete;
    RefusingPort& operator=(const RefusingPort&) = delete;
    std::string baseUrl() const { return "https://127.0.0.1:" + std::to_string(port_); }

private:
    int socket_ = -1;
    int port_ = -1;
};

// A port on 127.0.0.1 that takes connections and never says a word, as a hung
// server would: a client's TLS handshake waits until the client gives up.
class SilentPort {
public:
    SilentPort();
    ~SilentPort();
    SilentPort(const SilentPort&) = delete;
    SilentPort& operator=(const SilentPort&) = delete;
    std::string baseUrl() const { return "https://127.0.0.1:" + std::to_string(port_); }
    // Connections clients have opened so far. The kernel completes them on
    // its own, so the count does not depend on a server thread's timing.
    size_t connectionCount();

private:
    int listener_ = -1;
    int port_ = -1;
    std::vector<int> taken_;
};

}  // namespace quarra::testing
