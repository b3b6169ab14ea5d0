#pragma once
// Debian's nginx as a local HTTPS collector that keeps up with any client in
// this process: it needs no privileges (all it writes is in a temporary
// directory), serves the tests' certificate on 127.0.0.1, and counts the
// connections and requests it serves.
#include <sys/types.h>

#include <memory>
#include <optional>
#include <string>

#include "support/TempDir.hpp"

namespace quarra::bench {

class NginxCollector {
public:
    // A running nginx, or nothing with `whyNot` saying what is missing.
    static std::unique_ptr<NginxCollector> start(std::string& whyNot);
    // The one nginx of this process, started on first use and stopped at exit.
    static NginxCollector* shared(std::string& whyNot);

    ~NginxCollector();
    NginxCollector(const NginxCollector&) = delete;
    NginxCollector& operator=(const NginxCollector&) = delete;

    // "https://127.0.0.1:<port>": HTTP/2 offered over ALPN, or HTTP/1.1 only.
    // Both store every report; the refusing one answers every report with
    // ResponseCode "1" (over HTTP/2), so that the library keeps it queued.
    std::string http2Origin() const { return origin(http2Port_); }
    std::string http1Origin() const { return origin(http1Port_); }
    std::string refusingOrigin() const { return origin(refusingPort_); }

    // What nginx has served so far, this reading's own connection and
    // request included; nothing when the status page cannot be read.
    struct Served {
        long connections = 0;
        long requests = 0;
    };
    std::optional<Served> served() const;
    // CPU time nginx's workers have used so far, in seconds: whether the
    // server kept up shows here.
    double workerCpuSeconds() const;

private:
    NginxCollector() = default;
    static std::string origin(int port) { return "https://127.0.0.1:" + std::to_string(port); }
    std::string configuration() const;
    bool waitUntilServing(std::string& whyNot);

    testing::TempDir directory_;
    pid_t pid_ = -1;
    int http2Port_ = 0;
    int http1Port_ = 0;
    int refusingPort_ = 0;
    int statusPort_ = 0;
};

}  // namespace quarra::bench
