#include <quarra/testing/SimulatedHttpClient.hpp>

namespace quarra {

SimulatedHttpClient::SimulatedHttpClient(std::shared_ptr<Executor> callbackExecutor)
    : callbackExecutor_(std::move(callbackExecutor)) {}

void SimulatedHttpClient::send(HttpRequest request, Completion completion) {
    std::optional<HttpResult> scripted;
    Responder responder;
    Delay delay;
    bool drop = false;
    {
        std::lock_guard lock(mutex_);
        requests_.push_back(request);
        if (!script_.empty()) {
            scripted = std::move(script_.front());
            script_.pop_front();
        } else {
            responder = responder_;
        }
        delay = delay_;
        drop = dropAnswers_;
    }
    ++*unanswered_;
    std::optional<HttpResult> result = scripted ? std::move(scripted)
                                       : responder ? responder(request)
                                                   : noResponse("no scripted answer");
    if (drop || !result) return;  // lost: the completion goes without being called
    auto answer = [completion = std::move(completion), result = std::move(*result), unanswered = unanswered_]() mutable {
        --*unanswered;
        completion(std::move(result));
    };
    const auto after = delay ? delay(request) : std::chrono::milliseconds(0);
    if (after.count() > 0) {
        callbackExecutor_->postAfter(after, std::move(answer));
    } else {
        callbackExecutor_->post(std::move(answer));
    }
}

void SimulatedHttpClient::setDelay(Delay delay) {
    std::lock_guard lock(mutex_);
    delay_ = std::move(delay);
}

void SimulatedHttpClient::dropAnswers(bool drop) {
    std::lock_guard lock(mutex_);
    dropAnswers_ = drop;
}

size_t SimulatedHttpClient::unanswered() const { return unanswered_->load(); }

void SimulatedHttpClient::enqueue(HttpResult result) {
    std::lock_guard lock(mutex_);
    script_.push_back(std::move(result));
}

void SimulatedHttpClient::setResponder(Responder responder) {
    std::lock_guard lock(mutex_);
    responder_ = std::move(responder);
}

std::vector<HttpRequest> SimulatedHttpClient::requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

size_t SimulatedHttpClient::requestCount() const {
    std::lock_guard lock(mutex_);
    return requests_.size();
}

HttpResult SimulatedHttpClient::ok(std::string body, long status) {
    return HttpResult{.body = std::move(body), .response = HttpResponse{.statusCode = status}, .error = std::nullopt};
}

HttpResult SimulatedHttpClient::status(long statusCode, std::optional<std::string> body) {
    return HttpResult{.body = std::move(body), .response = HttpResponse{.statusCode = statusCode}, .error = std::nullopt};
}

HttpResult SimulatedHttpClient::noResponse(std::string error) {
    return HttpResult{.body = std::nullopt, .response = std::nullopt, .error = std::move(error)};
}

}  // namespace quarra
