#include "EvaluationTap.hpp"

#include <thread>

#include <quarra/Json.hpp>

namespace demo {
namespace {

bool isEvaluation(const quarra::HttpRequest& request) {
    return request.method == "POST" && request.url.find("/transactions/evaluate/") != std::string::npos;
}

QString textAt(const quarra::JSONDictionary& object, const char* key) {
    auto found = object.find(key);
    return found != object.end() && found->is_string() ? QString::fromStdString(found->get<std::string>()) : QString();
}

}  // namespace

EvaluationTap::EvaluationTap(std::shared_ptr<quarra::HttpClient> inner) : inner_(std::move(inner)) {}

void EvaluationTap::send(quarra::HttpRequest request, Completion completion) {
    std::shared_ptr<quarra::HttpClient> inner;
    {
        std::lock_guard lock(mutex_);
        inner = inner_;
    }
    if (!inner) {
        // Never inside send() itself: the completion gets a thread of its own.
        std::thread([completion = std::move(completion)] {
            completion(quarra::HttpResult{.error = "cancelled"});
        }).detach();
        return;
    }
    if (!isEvaluation(request)) return inner->send(std::move(request), std::move(completion));
    inner->send(std::move(request), [this, completion = std::move(completion)](quarra::HttpResult result) {
        if (result.body && result.response && result.response->statusCode == 200) keep(*result.body);
        completion(std::move(result));
    });
}

void EvaluationTap::close() {
    std::shared_ptr<quarra::HttpClient> inner;
    {
        std::lock_guard lock(mutex_);
        inner.swap(inner_);
    }
    inner.reset();  // the last reference: waits for the network thread to end
}

void EvaluationTap::keep(const std::string& body) {
    const auto reply = quarra::JSONDictionary::parse(body, nullptr, false);
    if (!reply.is_object() || !reply.contains("data") || !reply["data"].is_object()) return;
    const auto& data = reply["data"];
    Evaluation evaluation;
    evaluation.decision = textAt(data, "evaluationDecision");
    if (auto score = data.find("score"); score != data.end() && score->is_number_integer()) {
        evaluation.score = score->get<qint64>();
    }
    if (auto insights = data.find("scoreInsights"); insights != data.end() && insights->is_array()) {
        for (const auto& insight : *insights) {
            if (insight.is_object()) evaluation.reasons << textAt(insight, "description");
        }
    }
    std::lock_guard lock(mutex_);
    byTransaction_.insert(textAt(data, "transactionId"), evaluation);
}

std::optional<Evaluation> EvaluationTap::evaluationOf(const QString& transactionId) const {
    std::lock_guard lock(mutex_);
    auto found = byTransaction_.constFind(transactionId);
    if (found == byTransaction_.constEnd()) return std::nullopt;
    return *found;
}

}  // namespace demo
