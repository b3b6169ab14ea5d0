#pragma once
// Turns the account credentials into an access token, then opens the session.
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <quarra/Executor.hpp>

#include "config/SessionConfigServices.hpp"
#include "transport/FailureReporter.hpp"
#include "transport/Request.hpp"

namespace quarra {

class KeychainWrapper;
class RequestsManager;
class ServerLog;
class SessionConfigManager;
class SessionConfigServices;

// The reply of the token call; every key is a required text.
struct GetAccessTokenResponse {
    std::string accessToken;
    std::string refreshToken;
    std::string tokenType;
    std::string expiresIn;
    std::string message;
    static std::optional<GetAccessTokenResponse> decode(std::string_view body);
};

// A request record with one field; the library does not send it.
class RefreshTokenRequest final : public Request {
public:
    explicit RefreshTokenRequest(std::string refreshToken);
    std::string refreshToken;
    JSONDictionary toJSON() const { return {{"refreshToken", refreshToken}}; }
};

// "user:secret" as standard Base64 with padding, the Basic credential form.
std::string basicCredential(const std::string& userName, const std::string& secretKey);

class AccessTokenService : public std::enable_shared_from_this<AccessTokenService> {
public:
    using StringCompletion = std::function<void(const std::string&)>;

    struct Dependencies {
        RequestsManager* requestsManager = nullptr;
        SessionConfigManager* sessionConfigManager = nullptr;
        KeychainWrapper* keychain = nullptr;
        ServerLog* logManager = nullptr;
        std::shared_ptr<SessionConfigServices> sessionService;
        std::shared_ptr<Executor> mainExecutor;
        std::function<std::vector<std::string>()> interfaceNames;  // where to look for the device's address
        FailureReporter reportFailure;                              // hears of a failed token call; may be empty
    };

    static std::shared_ptr<AccessTokenService> create(Dependencies dependencies);

    // What the session start learns of one run of the chain, beyond the key.
    struct ChainObserver {
        std::function<void()> tokenFailed;  // where the transport answers (the worker)
        SessionConfigServices::OutcomeObserver initiated;  // on the main executor, before the completion
    };

    // The completion gets the session key, on the main executor, once the
    // token call has succeeded (not at all when it fails). The token writes
    // and the address lookup run where the transport answers (the worker).
    void requestAccessToken(const std::string& userName, const std::string& secretKey, const std::string& customerName,
                            StringCompletion completion, ChainObserver observer = {});

private:
    explicit AccessTokenService(Dependencies dependencies);
    void handleTokenSuccess(const std::string& body, const std::string& customerName, const StringCompletion& completion,
                            const ChainObserver& observer);

    Dependencies deps_;
};

}  // namespace quarra
