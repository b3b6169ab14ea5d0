#pragma once
// The HTTP transport for the collector, the log endpoint, the token and the
// initiate calls: base-URL choice, one send, the outcome, retry or fail.
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include <quarra/Executor.hpp>
#include <quarra/HttpClient.hpp>
#include <quarra/Json.hpp>

#include "platform/BaseUrls.hpp"
#include "transport/APIError.hpp"
#include "transport/DataCollectorAPI.hpp"

namespace quarra {

class LogManager;
class SessionConfigManager;

enum class JSONWritingOptions { none, prettyPrinted };

class RequestsManager {
public:
    using Success = std::function<void(const std::string& body)>;
    using Failure = std::function<void(const APIError& error)>;

    struct Dependencies {
        std::shared_ptr<HttpClient> session;
        std::shared_ptr<Executor> mainExecutor;   // where the "initiate" success is delivered
        std::shared_ptr<Executor> retryExecutor;  // where retry pauses elapse
        BaseUrls baseUrls;
        LogManager* logManager = nullptr;                      // nullptr: no server log records
        SessionConfigManager* sessionConfigManager = nullptr;  // the applied logLevel
    };

    static RequestsManager& shared();
    explicit RequestsManager(Dependencies dependencies);

    // Sends the endpoint. Every started request ends in exactly one success
    // or one failure callback: success(body) for a 2xx answer with a body
    // (on the main executor for "initiate", else on the client's callback
    // thread); failure(error) otherwise, after `retryCount` more attempts,
    // each preceded by a pause of `retryInterval` seconds (3.0 when it is not
    // a number), and one more pause before the failure. A request that cannot
    // be built fails at once with code "888". Returns whether a send started.
    bool request(const DataCollectorAPI& endpoint, int64_t retryCount, const std::string& retryInterval,
                 Success success = {}, Failure failure = {});

    // The request with `parameters` as a JSON body and "Content-Type"
    // "application/json" unless it already has one; unchanged when the
    // parameters are absent or cannot be serialised.
    static HttpRequest encodeJSONBody(HttpRequest request, const std::optional<JSONDictionary>& parameters,
                                      JSONWritingOptions options = JSONWritingOptions::none);

    std::optional<std::string> baseUrl() const;
    void setBaseUrl(std::optional<std::string> url);
    std::optional<std::string> logBaseUrl() const;
    void setLogBaseUrl(std::optional<std::string> url);
    const BaseUrls& builtInBaseUrls() const { return deps_.baseUrls; }

private:
    void complete(const DataCollectorAPI& endpoint, int64_t retryCount, const std::string& retryInterval,
                  const Success& success, const Failure& failure, HttpResult result);
    void retryOrFail(APIError error, const DataCollectorAPI& endpoint, int64_t retryCount,
                     const std::string& retryInterval, Success success, Failure failure);
    std::optional<int64_t> logLevel() const;
    void serverLog(const std::string& apiName, const std::string& type, const std::string& message) const;

    Dependencies deps_;
    mutable std::mutex mutex_;  // guards the two base URLs
    std::optional<std::string> baseUrl_;
    std::optional<std::string> logBaseUrl_;
};

}  // namespace quarra
