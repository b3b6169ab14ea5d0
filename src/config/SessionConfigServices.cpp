#include "config/SessionConfigServices.hpp"

#include <quarra/KeychainWrapper.hpp>

#include "config/CacheManager.hpp"
#include "config/SessionConfigManager.hpp"
#include "base/JsonText.hpp"
#include "transport/ServerLog.hpp"
#include "transport/RequestsManager.hpp"

namespace quarra {
std::shared_ptr<SessionConfigServices> SessionConfigServices::create(Dependencies dependencies) {
    return std::shared_ptr<SessionConfigServices>(new SessionConfigServices(std::move(dependencies)));
}

SessionConfigServices::SessionConfigServices(Dependencies dependencies) : deps_(std::move(dependencies)) {}

void SessionConfigServices::initiateTransactions(const std::string& ipV6Address, const std::string& ipV4Address,
                                                 const std::string& customerName, StringCompletion completion,
                                                 OutcomeObserver outcome) {
    auto& transport = *deps_.requestsManager;
    auto vendorId = deps_.identifierForVendor ? deps_.identifierForVendor() : std::nullopt;
    JSONDictionary parameters = {
        {"ipV6Address", ipV6Address},
        {"ipV4Address", ipV4Address},
        {"customerName", customerName},
        {"deviceId", vendorId.value_or("<Not available>")},
    };
    if (logsRequests(deps_.sessionConfigManager->logLevel())) {
        deps_.logManager->log("initiate", "Request", prettyPrintedOrFallback(parameters));
    }
    auto token = deps_.keychain->string("accessToken");
    DataCollectorAPI::Headers headers = {{"Authorization", "Bearer " + token.value_or("")}};
    auto endpoint = DataCollectorAPI::sendData(std::move(parameters), std::move(headers), "initiate", 10.0, "1",
                                               BaseUrlType::dcBaseUrl);

    std::weak_ptr<SessionConfigServices> weakSelf = weak_from_this();
    transport.request(
        endpoint, 1, "3",
        [weakSelf, completion, outcome](const std::string& body) {
            if (auto self = weakSelf.lock()) self->handleInitiateSuccess(body, completion, outcome);
        },
        [weakSelf, completion, outcome](const APIError& error) {
            auto self = weakSelf.lock();
            if (!self) return;
            if (self->deps_.reportFailure) self->deps_.reportFailure("initiate", error);
            self->handleInitiateFailure(error.jsonText(), completion, outcome);
        });
}

// Arrives on the main executor. The disk work (cache, secure store) moves to
// the I/O executor so the host's UI thread never waits on it; the apply and
// the completion come back to the main executor.
void SessionConfigServices::handleInitiateSuccess(const std::string& body, const StringCompletion& completion,
                                                  const OutcomeObserver& outcome) {
    std::weak_ptr<SessionConfigServices> weakSelf = weak_from_this();
    deps_.ioExecutor->post([weakSelf, body, completion, outcome] {
        auto self = weakSelf.lock();
        if (!self) return;
        auto decoded = InitiateTransactionsResponse::decode(body);
        if (!decoded) {
            // Only a real configuration document replaces the cached one, and
            // an answer that is not one opened no session: the last good
            // configuration stays in force, the host hears "" as before.
            bool fromCache = false;
            auto document = self->cachedOrDefault(&fromCache);
            self->deps_.console->log(std::string("Initiate answer is not a configuration document; cache left "
                                                 "unchanged, ") +
                                     (fromCache ? "the cached configuration is in force"
                                                : "the built-in default configuration is in force"));
            self->deps_.keychain->set(std::string(), "transactionId");
            self->deps_.mainExecutor->post([weakSelf, document = std::move(document), completion, outcome] {
                auto self = weakSelf.lock();
                if (!self) return;
                self->deps_.console->log("Initiate API Ressponse== " + compactJSON(document.toJSON()).value_or("{}"));
                self->apply(document);
                if (outcome) outcome(InitiateOutcome::unreadable);
                if (completion) completion("");
            });
            return;
        }
        self->deps_.console->log(self->deps_.cache->write(body) ? "Data cached" : "Couldn't write file");
        auto document = std::move(*decoded);
        const std::string sessionKey = document.data.transactionId.value_or("");
        self->deps_.keychain->set(sessionKey, "transactionId");
        self->deps_.mainExecutor->post([weakSelf, document = std::move(document), completion, outcome] {
            auto self = weakSelf.lock();
            if (!self) return;
            self->deps_.console->log("Initiate API Ressponse== " + compactJSON(document.toJSON()).value_or("{}"));
            auto key = self->apply(document);
            if (outcome) outcome(InitiateOutcome::fresh);
            if (completion) completion(key);
        });
    });
}

void SessionConfigServices::handleInitiateFailure(const std::string& errorJSON, const StringCompletion& completion,
                                                  const OutcomeObserver& outcome) {
    std::weak_ptr<SessionConfigServices> weakSelf = weak_from_this();
    deps_.mainExecutor->post([weakSelf, errorJSON, completion, outcome] {
        auto self = weakSelf.lock();
        if (!self) return;
        if (logsErrors(self->deps_.sessionConfigManager->logLevel())) {
            self->deps_.logManager->log("initiate", "Error", errorJSON);
        }
        self->deps_.ioExecutor->post([weakSelf, completion, outcome] {
            auto self = weakSelf.lock();
            if (!self) return;
            auto document = self->cachedOrDefault();
            self->deps_.mainExecutor->post([weakSelf, document = std::move(document), completion, outcome] {
                if (auto self = weakSelf.lock()) {
                    auto key = self->apply(document);
                    if (outcome) outcome(InitiateOutcome::failed);
                    if (completion) completion(key);
                }
            });
        });
    });
}

InitiateTransactionsResponse SessionConfigServices::cachedOrDefault(bool* fromCache) const {
    auto cached = deps_.cache->read();
    if (!cached) deps_.console->log("Configuration cache could not be read; using the default configuration");
    auto decoded = cached ? InitiateTransactionsResponse::decode(*cached) : std::nullopt;
    if (cached && !decoded) deps_.console->log("Cached configuration does not decode; using the default configuration");
    if (fromCache) *fromCache = decoded.has_value();
    return decoded ? std::move(*decoded) : CacheManager::defaultConfiguration(deps_.requestsManager->builtInBaseUrls());
}

void SessionConfigServices::getSessionKey(StringCompletion completion) {
    auto key = apply(cachedOrDefault());
    if (completion) completion(key);
}

void SessionConfigServices::loadCachedConfiguration(StringCompletion completion) { getSessionKey(std::move(completion)); }

std::string SessionConfigServices::apply(const InitiateTransactionsResponse& document) {
    applyConfiguration(document, *deps_.requestsManager, *deps_.sessionConfigManager);
    return document.data.transactionId.value_or("");
}

}  // namespace quarra
