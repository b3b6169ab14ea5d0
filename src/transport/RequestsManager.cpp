#include "transport/RequestsManager.hpp"

#include <mutex>

#include "config/SessionConfigManager.hpp"
#include "base/JsonText.hpp"
#include "logging/LogManager.hpp"
#include "platform/Environment.hpp"
#include "transport/RetryPause.hpp"

namespace quarra {
namespace {

const std::string kCannotBuildCode = "888";
const std::string kNoResponseCode = "-1";

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

struct RequestsManager::State : std::enable_shared_from_this<State> {
    explicit State(Dependencies dependencies) : deps(std::move(dependencies)) {}

    bool request(const DataCollectorAPI& endpoint, int64_t retryCount, const std::string& retryInterval,
                 Success success, Failure failure);
    void complete(const DataCollectorAPI& endpoint, int64_t retryCount, const std::string& retryInterval,
                  Success success, Failure failure, const HttpResult& result);
    void retryOrFail(APIError error, const DataCollectorAPI& endpoint, int64_t retryCount,
                     const std::string& retryInterval, Success success, Failure failure);
    std::optional<int64_t> logLevel() const {
        return deps.sessionConfigManager ? deps.sessionConfigManager->logLevel() : std::nullopt;
    }
    bool logsErrors() const {
        auto level = logLevel();
        return level && *level >= 0 && *level <= 2;
    }
    void serverLog(const std::string& apiName, const std::string& type, const std::string& message) const {
        if (deps.logManager) deps.logManager->log(apiName, type, message);
    }

    const Dependencies deps;
    mutable std::mutex mutex;  // guards the two base URLs
    std::optional<std::string> baseUrl;
    std::optional<std::string> logBaseUrl;
};

bool RequestsManager::State::request(const DataCollectorAPI& endpoint, int64_t retryCount,
                                     const std::string& retryInterval, Success success, Failure failure) {
    const std::string path = endpoint.path();
    std::optional<std::string> base;
    std::optional<std::string> logBase;
    {
        std::lock_guard lock(mutex);
        baseUrl = path == "accessToken" ? deps.baseUrls.platformApi
                  : path == "initiate"  ? deps.baseUrls.platformTransactions
                                        : deps.baseUrls.collectorProduction;
        base = baseUrl;
        if (logBaseUrl) logBase = trimmedWhitespace(*logBaseUrl);
    }

    auto built = endpoint.asURLRequest(base, logBase);
    if (!built || !deps.session) {
        APIError error{path, kCannotBuildCode, "API message"};
        if (logsErrors() && !targetsLogEndpoint(endpoint)) serverLog(path, "Error", error.jsonText());
        retryOrFail(std::move(error), endpoint, retryCount, retryInterval, std::move(success), std::move(failure));
        return false;
    }

    std::weak_ptr<State> weak = weak_from_this();
    deps.session->send(std::move(*built), [weak, endpoint, retryCount, retryInterval, success = std::move(success),
                                           failure = std::move(failure)](HttpResult result) {
        if (auto self = weak.lock()) self->complete(endpoint, retryCount, retryInterval, success, failure, result);
    });
    return true;
}

void RequestsManager::State::complete(const DataCollectorAPI& endpoint, int64_t retryCount,
                                      const std::string& retryInterval, Success success, Failure failure,
                                      const HttpResult& result) {
    const std::string path = endpoint.path();
    const bool answered2xx = result.response && isSuccessStatus(result.response->statusCode);
    if (answered2xx && result.body && !result.error) {
        if (logLevel() == 2 && path != "InsertLogData" && !path.empty()) serverLog(path, "Response", utf8Lossy(*result.body));
        if (!success) return;
        if (path == "initiate" && deps.mainExecutor) {
            deps.mainExecutor->post([success = std::move(success), body = *result.body] { success(body); });
        } else {
            success(*result.body);
        }
        return;
    }

    APIError error{path, result.response ? std::to_string(result.response->statusCode) : kNoResponseCode,
                   failureMessage(result)};
    if (logsErrors() && !targetsLogEndpoint(endpoint)) serverLog(path, "Error", error.message);
    retryOrFail(std::move(error), endpoint, retryCount, retryInterval, std::move(success), std::move(failure));
}

void RequestsManager::State::retryOrFail(APIError error, const DataCollectorAPI& endpoint, int64_t retryCount,
                                         const std::string& retryInterval, Success success, Failure failure) {
    if (error.code == kCannotBuildCode) {
        if (failure) failure(error);
        return;
    }
    std::weak_ptr<State> weak = weak_from_this();
    auto afterPause = [weak, error = std::move(error), endpoint, retryCount, retryInterval,
                       success = std::move(success), failure = std::move(failure)] {
        if (retryCount <= 0) {
            if (failure) failure(error);
        } else if (auto self = weak.lock()) {
            self->request(endpoint, retryCount - 1, retryInterval, success, failure);
        }
    };
    if (deps.retryExecutor) {
        deps.retryExecutor->postAfter(retryPause(retryInterval), std::move(afterPause));
    } else {
        afterPause();
    }
}

RequestsManager& RequestsManager::shared() {
    // Built on first use and never destroyed, like the environment it uses.
    static RequestsManager* instance = [] {
        auto& environment = Environment::shared();
        return new RequestsManager(Dependencies{
            .session = environment.httpClient(),
            .mainExecutor = environment.mainExecutor(),
            .retryExecutor = makeSerialQueue("quarra-retry"),
            .baseUrls = environment.baseUrls(),
            .logManager = &LogManager::shared(),
            .sessionConfigManager = &SessionConfigManager::shared(),
        });
    }();
    return *instance;
}

RequestsManager::RequestsManager(Dependencies dependencies)
    : state_(std::make_shared<State>(std::move(dependencies))) {}

bool RequestsManager::request(const DataCollectorAPI& endpoint, int64_t retryCount, const std::string& retryInterval,
                              Success success, Failure failure) {
    return state_->request(endpoint, retryCount, retryInterval, std::move(success), std::move(failure));
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
