#pragma once
// Posts server log records to the log endpoint.
#include <functional>
#include <memory>
#include <string>

#include "transport/FailureReporter.hpp"

namespace quarra {

class Console;
class RequestsManager;
class SessionConfigManager;

class ServerLogUtility {
public:
    using Completion = std::function<void(bool)>;

    // Every pointer must outlive the utility and its posts.
    struct Dependencies {
        RequestsManager* requestsManager = nullptr;
        SessionConfigManager* sessionConfigManager = nullptr;  // session key, settings
        std::shared_ptr<const Console> console;                // may be empty
        FailureReporter reportFailure;                         // hears of a failed upload; may be empty
    };

    // The process-wide utility the library built, on the shared transport.
    static ServerLogUtility& shared();
    explicit ServerLogUtility(Dependencies dependencies);

    // Posts {"LogData": logData, "SessionKey": the session key or ""} to the
    // log base URL with one retry. The completion (where the transport
    // answers: the worker) gets false when the post fails or the endpoint answers
    // a "ResponseCode" other than "0", true otherwise; it is not called when
    // the "InsertLogData" settings are disabled or the answer is not a JSON
    // object.
    void sendLog(const std::string& logData, Completion completion = {});

private:
    Dependencies deps_;
};

}  // namespace quarra
