#pragma once
// An HTTP client that answers from a script; records every request.
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include <quarra/Executor.hpp>
#include <quarra/HttpClient.hpp>

namespace quarra {

class SimulatedHttpClient final : public HttpClient {
public:
    using Responder = std::function<HttpResult(const HttpRequest&)>;

    // Completions are posted to `callbackExecutor`, as a real client would
    // answer on its own thread.
    explicit SimulatedHttpClient(std::shared_ptr<Executor> callbackExecutor);

    void send(HttpRequest request, Completion completion) override;

    // Answers are used in order; once they run out the responder answers, and
    // without one a request gets "no scripted answer" and no response.
    void enqueue(HttpResult result);
    void setResponder(Responder responder);

    std::vector<HttpRequest> requests() const;
    size_t requestCount() const;

    static HttpResult ok(std::string body, long status = 200);
    static HttpResult status(long statusCode, std::optional<std::string> body = std::nullopt);
    static HttpResult noResponse(std::string error = "Could not connect to server");

private:
    std::shared_ptr<Executor> callbackExecutor_;
    mutable std::mutex mutex_;
    std::deque<HttpResult> script_;
    Responder responder_;
    std::vector<HttpRequest> requests_;
};

}  // namespace quarra
