#include "transactions/NetworkClient.hpp"

#include <algorithm>

#include "transport/URLValidation.hpp"

namespace quarra {
namespace {

constexpr std::pair<std::string_view, std::string_view> kSessionHeaders[] = {{"content-type", "application/json"}};

}  // namespace

NetworkClient::NetworkClient(std::shared_ptr<HttpClient> session, std::shared_ptr<Executor> callbacks,
                             std::function<bool()> accepting)
    : session_(std::move(session)), callbacks_(std::move(callbacks)), accepting_(std::move(accepting)) {}

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
    for (const auto& [name, value] : kSessionHeaders) {
        if (!request.header(name)) request.headers.emplace_back(std::string(name), std::string(value));
    }
    // The session's 30-second request time-out is the stricter of the two
    // limits, so it bounds the whole request; a shorter per-request interval
    // would still win.
    request.timeout = std::min(request.timeout, kSessionRequestTimeout);
    if (accepting_ && !accepting_()) {
        completion(HttpResult{.body = std::nullopt, .response = std::nullopt, .error = std::string("cancelled")});
        return;
    }
    // An in-flight request keeps its session: releasing the client does not
    // cancel a call already sent.
    session_->send(std::move(request), [session = session_, callbacks = callbacks_,
                                        completion = std::move(completion)](HttpResult result) mutable {
        if (!callbacks) return completion(std::move(result));
        callbacks->post([completion = std::move(completion), result = std::move(result)]() mutable {
            completion(std::move(result));
        });
    });
}

}  // namespace quarra
