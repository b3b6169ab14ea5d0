#pragma once
// The transaction client's own HTTP session, apart from the data-collector
// transport: a "content-type: application/json" header on every request and
// a 30-second request time-out. It shares the library's network thread.
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include <quarra/Executor.hpp>
#include <quarra/HttpClient.hpp>

#include "transport/HTTPMethod.hpp"

namespace quarra {

class NetworkClient {
public:
    // The session's own request time-out.
    static constexpr std::chrono::milliseconds kSessionRequestTimeout{30'000};
    // The time-out interval each request is built with.
    static constexpr std::chrono::milliseconds kRequestTimeoutInterval{60'000};

    // A client over `session`, which must not be null. Answers are handed
    // to `callbacks` (the library's worker; empty: the session's own thread).
    // Once `accepting` says false (the library has shut down) every request
    // is answered at once, on the calling thread, with the error "cancelled".
    explicit NetworkClient(std::shared_ptr<HttpClient> session, std::shared_ptr<Executor> callbacks = nullptr,
                           std::function<bool()> accepting = {});

    // A request for `urlString` with the method's verb and, except for GET,
    // the body; none when the text is not an http(s) URL. No header is set here.
    std::optional<HttpRequest> makeRequest(std::string body, HTTPMethod method, const std::string& urlString) const;

    // Sends `request` once through the session, adding the session's headers
    // (unless the request already carries them) and its time-out. The
    // completion runs exactly once, on the callbacks' executor. The session
    // stays alive until the completion has run, even when this client is
    // released first.
    void send(HttpRequest request, HttpClient::Completion completion) const;

    const std::shared_ptr<HttpClient>& session() const { return session_; }

private:
    std::shared_ptr<HttpClient> session_;
    std::shared_ptr<Executor> callbacks_;
    std::function<bool()> accepting_;
};

}  // namespace quarra
