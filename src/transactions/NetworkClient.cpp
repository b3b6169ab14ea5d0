#include "transactions/NetworkClient.hpp"

#include <algorithm>

#include "platform/Environment.hpp"
#include "transport/URLValidation.hpp"

namespace quarra {
namespace {

const HttpHeaders& sessionHeaders() {
    static const HttpHeaders headers{{"content-type", "application/json"}};
    return headers;
}

}  // namespace

NetworkClient::NetworkClient(std::shared_ptr<HttpClient> session) : session_(std::move(session)) {}

std::shared_ptr<NetworkClient> NetworkClient::makeDefault() {
    CurlClientOptions options;
    options.caFile = Environment::shared().options().caFile;
    options.threadName = "quarra-txn";
    return std::make_shared<NetworkClient>(makeCurlHttpClient(std::move(options)));
}

std::optional<HttpRequest> NetworkClient::makeRequest(std::string body, HTTPMethod method,
                                                      const std::string& urlString) const {
    if (!isValidURL(urlString)) return std::nullopt;
    HttpRequest request;
    request.url = urlString;
    request.method = std::string(rawValue(method));
    request.timeout = kRequestTimeoutInterval;
    if (method != HTTPMethod::get) request.body = std::move(body);
    return request;
}

void NetworkClient::send(HttpRequest request, HttpClient::Completion completion) const {
    for (const auto& [name, value] : sessionHeaders()) {
        if (!request.header(name)) request.headers.emplace_back(name, value);
    }
    // The session's 30-second request time-out is the stricter of the two
    // limits, so it bounds the whole request; a shorter per-request interval
    // would still win.
    request.timeout = std::min(request.timeout, kSessionRequestTimeout);
    // An in-flight request keeps its session: releasing the client does not
    // cancel a call already sent.
    session_->send(std::move(request), [session = session_, completion = std::move(completion)](HttpResult result) {
        completion(std::move(result));
    });
}

}  // namespace quarra
