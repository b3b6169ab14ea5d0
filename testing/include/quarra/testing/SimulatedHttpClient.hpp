#pragma once
// An HTTP client that answers from a script; records every request.
#include <atomic>
#include <chrono>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include <quarra/Executor.hpp>
#include <quarra/HttpClient.hpp>

namespace quarra {

class SimulatedHttpClient final : public HttpClient {
public:
    // The answer to a request; nullopt: the request is lost and never answered.
    using Responder = std::function<std::optional<HttpResult>(const HttpRequest&)>;
    // How long after the request its answer comes.
    using Delay = std::function<std::chrono::milliseconds(const HttpRequest&)>;

    // Completions are posted to `callbackExecutor`, as a real client would
    // answer on its own thread.
    explicit SimulatedHttpClient(std::shared_ptr<Executor> callbackExecutor);

    void send(HttpRequest request, Completion completion) override;

    // Answers are used in order; once they run out the responder answers, and
    // without one a request gets "no scripted answer" and no response.
    void enqueue(HttpResult result);
    void setResponder(Responder responder);
    // Answers come this long after their request (timers of the callback executor).
    void setDelay(Delay delay);
    // While true, every request is lost: its completion is never called.
    void dropAnswers(bool drop);

    std::vector<HttpRequest> requests() const;
    size_t requestCount() const;
    // Requests whose completion has not been called (lost ones included).
    size_t unanswered() const;

    static HttpResult ok(std::string body, long status = 200);
    static HttpResult status(long statusCode, std::optional<std::string> body = std::nullopt);
    static HttpResult noResponse(std::string error = "Could not connect to server");

private:
    std::shared_ptr<Executor> callbackExecutor_;
    mutable std::mutex mutex_;
    std::deque<HttpResult> script_;
    Responder responder_;
    Delay delay_;
    bool dropAnswers_ = false;
    std::vector<HttpRequest> requests_;
    std::shared_ptr<std::atomic<size_t>> unanswered_ = std::make_shared<std::atomic<size_t>>(0);
};

}  // namespace quarra
