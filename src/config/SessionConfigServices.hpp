#pragma once
// The initiate call that opens a session, and the cached or default
// configuration when it cannot be made.
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <quarra/Executor.hpp>

#include "config/ConfigurationDocument.hpp"
#include "base/ConsoleLog.hpp"
#include "transport/FailureReporter.hpp"

namespace quarra {

class CacheManager;
class KeychainWrapper;
class RequestsManager;
class ServerLog;
class SessionConfigManager;

class SessionConfigServices : public std::enable_shared_from_this<SessionConfigServices> {
public:
    using StringCompletion = std::function<void(const std::string&)>;
    // How the initiate call ended: a fresh document from the service, an
    // answer that is not one, or no answer at all.
    enum class InitiateOutcome { fresh, unreadable, failed };
    // Told (just before the completion, on the same thread) how the call ended.
    using OutcomeObserver = std::function<void(InitiateOutcome)>;

    struct Dependencies {
        RequestsManager* requestsManager = nullptr;
        SessionConfigManager* sessionConfigManager = nullptr;
        KeychainWrapper* keychain = nullptr;
        ServerLog* logManager = nullptr;
        CacheManager* cache = nullptr;
        std::shared_ptr<Executor> mainExecutor;  // where results and completions are delivered
        std::shared_ptr<Executor> ioExecutor;    // where the cache and the store are touched (the worker)
        std::shared_ptr<Console> console;
        std::function<std::optional<std::string>()> identifierForVendor;
        FailureReporter reportFailure;  // hears of a failed initiate call; may be empty
    };

    static std::shared_ptr<SessionConfigServices> create(Dependencies dependencies);

    // Posts the initiate call; the completion gets the session key ("" when
    // the applied configuration has none), on the main executor. On failure
    // the cached (or default) configuration is applied instead. An answer
    // that is not a configuration document applies the cached one too (the
    // default when the cache does not decode), leaves the cache as it is and
    // hands on "": it opened no session.
    void initiateTransactions(const std::string& ipV6Address, const std::string& ipV4Address,
                              const std::string& customerName, StringCompletion completion,
                              OutcomeObserver outcome = {});
    // Applies the cached (or default) configuration; no network. Runs on the
    // calling thread.
    void getSessionKey(StringCompletion completion);
    void loadCachedConfiguration(StringCompletion completion = {});

private:
    explicit SessionConfigServices(Dependencies dependencies);
    void handleInitiateSuccess(const std::string& body, const StringCompletion& completion,
                               const OutcomeObserver& outcome);
    void handleInitiateFailure(const std::string& errorJSON, const StringCompletion& completion,
                               const OutcomeObserver& outcome);
    std::string apply(const InitiateTransactionsResponse& document);
    // The cached document, or the built-in default when it cannot be read;
    // `fromCache` tells which.
    InitiateTransactionsResponse cachedOrDefault(bool* fromCache = nullptr) const;

    Dependencies deps_;
};

// The numeric text of the last address (IPv4 or IPv6) found on one of the
// given interfaces, in the order the system lists them; nullopt when none.
std::optional<std::string> getIPAddress(const std::vector<std::string>& interfaceNames);

}  // namespace quarra
