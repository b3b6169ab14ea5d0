#pragma once
// The HTTP transport for the collector, the log endpoint, the token and the
// initiate calls: base-URL choice, one send, the outcome, retry or fail.
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include <quarra/Executor.hpp>
#include <quarra/HttpClient.hpp>
#include <quarra/Json.hpp>

#include "platform/BaseUrls.hpp"
#include "transport/APIError.hpp"
#include "transport/DataCollectorAPI.hpp"
#include "transport/ServerLog.hpp"

namespace quarra {

enum class JSONWritingOptions { none, prettyPrinted };

class RequestsManager {
public:
    using Success = std::function<void(const std::string& body)>;
    using Failure = std::function<void(const APIError& error)>;

    struct Dependencies {
        std::shared_ptr<HttpClient> session;
        std::shared_ptr<Executor> mainExecutor;  // where the "initiate" success is delivered
        // The library's worker: where answers are handled and retry pauses
        // elapse. Empty: answers on the client's callback thread, retries at once.
        std::shared_ptr<Executor> worker;
        BaseUrls baseUrls;
        ServerLog* logManager = nullptr;                          // nullptr: no server log records
        const LogLevelSource* sessionConfigManager = nullptr;     // the applied logLevel
        // When set (and there is a worker), an attempt the client has not
        // answered this long after the request's own time-out fails with code
        // "-1": a client that loses a request cannot hold up a resend pass.
        std::optional<std::chrono::milliseconds> answerGrace;
    };

    static RequestsManager& shared();
    explicit RequestsManager(Dependencies dependencies);

    // Sends the endpoint. Every started request ends in exactly one success
    // or one failure callback: success(body) for a 2xx answer with a body
    // (on the main executor for "initiate", else on the worker); failure(error) otherwise, after `retryCount` more attempts,
    // each preceded by a pause of `retryInterval` seconds (3.0 when it is not
    // a number), and one more pause before the failure. The failure's code is
    // the HTTP status in decimal, or "-1" when no answer arrived (the message
    // then says why). A request that cannot be built fails at once, inside
    // this call, with code "888". Returns whether a send started. Any thread.
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
    const BaseUrls& builtInBaseUrls() const;

private:
    // Everything a request in flight needs. Callbacks hold it weakly: once
    // the manager is gone, pending retries are dropped (a final failure
    // that is already due is still delivered).
    struct Call;
    struct State;
    std::shared_ptr<State> state_;
};

}  // namespace quarra
