#pragma once
// The HTTP seam: one request in, one result out, on the client's callback thread.
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace quarra {

using HttpHeaders = std::vector<std::pair<std::string, std::string>>;

struct HttpRequest {
    std::string method = "GET";
    std::string url;
    HttpHeaders headers;
    std::optional<std::string> body;
    std::chrono::milliseconds timeout{60000};

    // First value of a header, compared without regard to case.
    std::optional<std::string> header(std::string_view name) const;
};

struct HttpResponse {
    long statusCode = 0;
    HttpHeaders headers;
};

// Exactly one of these per request. `response` is absent when no HTTP answer
// arrived (refused, reset, timed out, TLS failure); `error` then says why.
struct HttpResult {
    std::optional<std::string> body;
    std::optional<HttpResponse> response;
    std::optional<std::string> error;
};

class HttpClient {
public:
    using Completion = std::function<void(HttpResult)>;
    virtual ~HttpClient() = default;
    // Never blocks on the network. The completion runs exactly once, on the
    // client's callback thread, never inside send() itself.
    virtual void send(HttpRequest request, Completion completion) = 0;
};

struct CurlClientOptions {
    std::string caFile;                 // empty: the system's trust store
    long maxConnectionsPerHost = 6;
    std::string threadName = "quarra-http";
};

// The libcurl client: one network thread (started by the first request,
// which also sets libcurl and the TLS library up there), connection reuse,
// HTTP/2 when the server offers it, TLS peer and host verification always on.
// Only https URLs are fetched; a header with a line break fails the request.
// Answers above 16 MiB fail. On destruction, requests still in flight
// complete with the error "cancelled" before the network thread ends.
std::shared_ptr<HttpClient> makeCurlHttpClient(CurlClientOptions options = {});

}  // namespace quarra
