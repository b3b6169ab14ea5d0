#include "transport/RequestsManager.hpp"

#include <atomic>
#include <mutex>

#include "base/JsonText.hpp"
#include "transport/RetryPause.hpp"

namespace quarra {
namespace {

const std::string kCannotBuildCode = "888";
const std::string kNoResponseCode = "-1";
constexpr std::string_view kNoAnswerMessage = "No answer within the request's time-out";

std::string trimmedWhitespace(const std::string& text) {
    constexpr const char* kBlanks = " \t\n\r\v\f";
    auto first = text.find_first_not_of(kBlanks);
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

// The body as UTF-8 text, invalid sequences replaced by U+FFFD.
std::string utf8Lossy(const std::string& bytes) {
    auto quoted = JSONDictionary(bytes).dump(-1, ' ', false, JSONDictionary::error_handler_t::replace);
    auto text = JSONDictionary::parse(quoted, nullptr, false);
    return text.is_string() ? text.get<std::string>() : std::string();
}

bool isSuccessStatus(long status) { return status >= 200 && status <= 299; }

std::string failureMessage(const HttpResult& result) {
    if (result.error) return *result.error;
    if (!result.response) return "No response";
    auto status = "HTTP status " + std::to_string(result.response->statusCode);
    return isSuccessStatus(result.response->statusCode) ? status + " without a body" : status;
}

// Errors of the log upload itself are not logged to the server: each such
// record would be another upload to the same failing endpoint.
bool targetsLogEndpoint(const DataCollectorAPI& endpoint) {
    return endpoint.baseUrlType() == BaseUrlType::logBaseUrl || endpoint.path() == "InsertLogData";
}

}  // namespace

// One request and its retries: what every attempt and its answer need.
struct RequestsManager::Call {
    DataCollectorAPI endpoint;
    int64_t retryCount;
    std::string retryInterval;
    Success success;
    Failure failure;
};

struct RequestsManager::State : std::enable_shared_from_this<State> {
    explicit State(Dependencies dependencies) : deps(std::move(dependencies)) {}

    bool request(std::shared_ptr<const Call> call);
    void complete(const std::shared_ptr<const Call>& call, const HttpResult& result);
    void retryOrFail(APIError error, const std::shared_ptr<const Call>& call);
    // Runs `task` on the worker, or at once without one.
    void onWorker(Executor::Task task) const {
        if (deps.worker) {
            deps.worker->post(std::move(task));
        } else {
            task();
        }
    }
    std::optional<int64_t> logLevel() const {
        return deps.sessionConfigManager ? deps.sessionConfigManager->logLevel() : std::nullopt;
    }
    bool logsErrors() const { return quarra::logsErrors(logLevel()); }
    void serverLog(const std::string& apiName, const std::string& type, const std::string& message) const {
        if (deps.logManager) deps.logManager->log(apiName, type, message);
    }

    const Dependencies deps;
    mutable std::mutex mutex;  // guards the two base URLs
    std::optional<std::string> baseUrl;
    std::optional<std::string> logBaseUrl;
};

bool RequestsManager::State::request(std::shared_ptr<const Call> call) {
    const auto& endpoint = call->endpoint;
    const std::string path = endpoint.path();
    // The base follows the path; a missing log base falls back to the collector.
    const std::string& base = path == "accessToken" ? deps.baseUrls.platformApi
                              : path == "initiate"  ? deps.baseUrls.platformTransactions
                                                    : deps.baseUrls.collectorProduction;
    std::optional<std::string> configuredLogBase;
    {
        std::lock_guard lock(mutex);
        baseUrl = base;
        if (logBaseUrl) configuredLogBase = trimmedWhitespace(*logBaseUrl);
    }

    auto built =
        endpoint.asURLRequest(base, configuredLogBase ? *configuredLogBase : deps.baseUrls.collectorProduction);
    if (!built || !deps.session) {
        APIError error{path, kCannotBuildCode, "API message"};
        if (logsErrors() && !targetsLogEndpoint(endpoint)) serverLog(path, "Error", error.jsonText());
        retryOrFail(std::move(error), call);
        return false;
    }

    // The client's answer and the deadline below race; the first one counts.
    auto answered = std::make_shared<std::atomic<bool>>(false);
    const auto deadline = built->timeout + deps.answerGrace.value_or(std::chrono::milliseconds(0));
    std::weak_ptr<State> weak = weak_from_this();
    deps.session->send(std::move(*built), [weak, call, answered](HttpResult result) {
        auto self = weak.lock();
        if (!self) return;
        self->onWorker([weak, call, answered, result = std::move(result)] {
            auto self = weak.lock();
            if (self && !answered->exchange(true)) self->complete(call, result);
        });
    });
    if (deps.answerGrace && deps.worker) {
        deps.worker->postAfter(deadline, [weak, call, answered] {
            auto self = weak.lock();
            if (!self || answered->exchange(true)) return;
            self->complete(call, HttpResult{.body = std::nullopt, .response = std::nullopt,
                                            .error = std::string(kNoAnswerMessage)});
        });
    }
    return true;
}

void RequestsManager::State::complete(const std::shared_ptr<const Call>& call, const HttpResult& result) {
    const std::string path = call->endpoint.path();
    const bool answered2xx = result.response && isSuccessStatus(result.response->statusCode);
    if (answered2xx && result.body && !result.error) {
        if (logsRequests(logLevel()) && path != "InsertLogData" && !path.empty()) {
            serverLog(path, "Response", utf8Lossy(*result.body));
        }
        if (!call->success) return;
        if (path == "initiate" && deps.mainExecutor) {
            deps.mainExecutor->post([call, body = *result.body] { call->success(body); });
        } else {
            call->success(*result.body);
        }
        return;
    }

    APIError error{path, result.response ? std::to_string(result.response->statusCode) : kNoResponseCode,
                   failureMessage(result)};
    if (logsErrors() && !targetsLogEndpoint(call->endpoint)) serverLog(path, "Error", error.message);
    retryOrFail(std::move(error), call);
}

void RequestsManager::State::retryOrFail(APIError error, const std::shared_ptr<const Call>& call) {
    if (error.code == kCannotBuildCode) {
        if (call->failure) call->failure(error);
        return;
    }
    std::weak_ptr<State> weak = weak_from_this();
    auto afterPause = [weak, error = std::move(error), call] {
        if (call->retryCount <= 0) {
            if (call->failure) call->failure(error);
        } else if (auto self = weak.lock()) {
            self->request(std::make_shared<const Call>(
                Call{call->endpoint, call->retryCount - 1, call->retryInterval, call->success, call->failure}));
        }
    };
    if (deps.worker) {
        deps.worker->postAfter(retryPause(call->retryInterval), std::move(afterPause));
    } else {
        afterPause();
    }
}

RequestsManager::RequestsManager(Dependencies dependencies)
    : state_(std::make_shared<State>(std::move(dependencies))) {}

bool RequestsManager::request(const DataCollectorAPI& endpoint, int64_t retryCount, const std::string& retryInterval,
                              Success success, Failure failure) {
    return state_->request(
        std::make_shared<const Call>(Call{endpoint, retryCount, retryInterval, std::move(success), std::move(failure)}));
}

HttpRequest RequestsManager::encodeJSONBody(HttpRequest request, const std::optional<JSONDictionary>& parameters,
                                            JSONWritingOptions options) {
    if (!parameters) return request;
    // A default-made dictionary is null in memory but stands for an empty one.
    const JSONDictionary& value = parameters->is_null() ? JSONDictionary::object() : *parameters;
    if (!value.is_object() && !value.is_array()) return request;
    auto body = options == JSONWritingOptions::prettyPrinted ? prettyJSON(value) : compactJSON(value);
    if (!body) return request;
    if (!request.header("Content-Type")) request.headers.emplace_back("Content-Type", "application/json");
    request.body = std::move(*body);
    return request;
}

std::optional<std::string> RequestsManager::baseUrl() const {
    std::lock_guard lock(state_->mutex);
    return state_->baseUrl;
}

void RequestsManager::setBaseUrl(std::optional<std::string> url) {
    std::lock_guard lock(state_->mutex);
    state_->baseUrl = std::move(url);
}

std::optional<std::string> RequestsManager::logBaseUrl() const {
    std::lock_guard lock(state_->mutex);
    return state_->logBaseUrl;
}

void RequestsManager::setLogBaseUrl(std::optional<std::string> url) {
    std::lock_guard lock(state_->mutex);
    state_->logBaseUrl = std::move(url);
}

const BaseUrls& RequestsManager::builtInBaseUrls() const { return state_->deps.baseUrls; }

}  // namespace quarra
