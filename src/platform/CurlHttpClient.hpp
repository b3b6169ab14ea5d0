#pragma once
// The libcurl client the library builds for itself: the HttpClient seam plus
// the stop the library's shutdown needs.
#include <functional>
#include <memory>

#include <quarra/HttpClient.hpp>

namespace quarra {

class CurlHttpClient : public HttpClient {
public:
    // The network thread starts with the first request; libcurl (and the TLS
    // library with it) is set up on that thread, so no caller reads the disk.
    // `started`, when given, runs on the network thread right after that.
    explicit CurlHttpClient(CurlClientOptions options, std::function<void()> started = {});
    ~CurlHttpClient() override;

    void send(HttpRequest request, Completion completion) override;

    // Cancels every request in flight or waiting (their completions get the
    // error "cancelled", on the network thread) and ends the network thread.
    // Later requests complete at once with "cancelled", on the calling thread.
    // Called from one of the client's own completions it only asks the thread
    // to end. Safe to call more than once.
    void shutdown();

    class Core;

private:
    std::shared_ptr<Core> core_;
};

}  // namespace quarra
