#include "credentials/AccessTokenService.hpp"

#include <sodium.h>

#include <quarra/KeychainWrapper.hpp>

#include "config/SessionConfigManager.hpp"
#include "config/SessionConfigServices.hpp"
#include "base/JsonText.hpp"
#include "platform/InterfaceNames.hpp"
#include "transport/RequestsManager.hpp"
#include "transport/ServerLog.hpp"

namespace quarra {

std::optional<GetAccessTokenResponse> GetAccessTokenResponse::decode(std::string_view body) {
    auto json = parseJSON(body);
    if (!json || !json->is_object()) return std::nullopt;
    GetAccessTokenResponse reply;
    const std::pair<const char*, std::string*> fields[] = {
        {"accessToken", &reply.accessToken}, {"refreshToken", &reply.refreshToken}, {"tokenType", &reply.tokenType},
        {"expiresIn", &reply.expiresIn},     {"message", &reply.message},
    };
    for (const auto& [key, field] : fields) {
        auto found = json->find(key);
        if (found == json->end() || !found->is_string()) return std::nullopt;
        *field = found->get<std::string>();
    }
    return reply;
}

RefreshTokenRequest::RefreshTokenRequest(std::string refreshToken)
    : Request("", JSONDictionary::object(), std::nullopt, HTTPMethod::post), refreshToken(std::move(refreshToken)) {}

std::string basicCredential(const std::string& userName, const std::string& secretKey) {
    if (sodium_init() < 0) return {};
    const std::string plain = userName + ":" + secretKey;
    std::string encoded(sodium_base64_ENCODED_LEN(plain.size(), sodium_base64_VARIANT_ORIGINAL), '\0');
    sodium_bin2base64(encoded.data(), encoded.size(), reinterpret_cast<const unsigned char*>(plain.data()), plain.size(),
                      sodium_base64_VARIANT_ORIGINAL);
    encoded.resize(std::char_traits<char>::length(encoded.c_str()));
    return encoded;
}

std::shared_ptr<AccessTokenService> AccessTokenService::create(Dependencies dependencies) {
    return std::shared_ptr<AccessTokenService>(new AccessTokenService(std::move(dependencies)));
}

AccessTokenService::AccessTokenService(Dependencies dependencies) : deps_(std::move(dependencies)) {}

void AccessTokenService::requestAccessToken(const std::string& userName, const std::string& secretKey,
                                            const std::string& customerName, StringCompletion completion,
                                            ChainObserver observer) {
    auto& transport = *deps_.requestsManager;
    const auto parameters = JSONDictionary::object();
    if (logsRequests(deps_.sessionConfigManager->logLevel())) {
        deps_.logManager->log("accessToken", "Request", prettyPrintedOrFallback(parameters));
    }
    auto endpoint = DataCollectorAPI::sendDataAccessToken(parameters, basicCredential(userName, secretKey), "accessToken",
                                                          10.0, "1", BaseUrlType::dcBaseUrl);
    std::weak_ptr<AccessTokenService> weakSelf = weak_from_this();
    transport.request(
        endpoint, 1, "3",
        [weakSelf, customerName, completion, observer](const std::string& body) {
            if (auto self = weakSelf.lock()) self->handleTokenSuccess(body, customerName, completion, observer);
        },
        [weakSelf, tokenFailed = observer.tokenFailed](const APIError& error) {
            auto self = weakSelf.lock();
            if (!self) return;
            if (self->deps_.reportFailure) self->deps_.reportFailure("accessToken", error);
            if (tokenFailed) tokenFailed();
            self->deps_.mainExecutor->post([weakSelf, errorJSON = error.jsonText()] {
                auto self = weakSelf.lock();
                if (!self) return;
                if (logsErrors(self->deps_.sessionConfigManager->logLevel())) {
                    self->deps_.logManager->log("accessToken", "Error", errorJSON);
                }
            });
        });
}

// Runs where the transport answers (the worker): the token writes and the
// address lookup stay off the host's main queue.
void AccessTokenService::handleTokenSuccess(const std::string& body, const std::string& customerName,
                                            const StringCompletion& completion, const ChainObserver& observer) {
    auto reply = GetAccessTokenResponse::decode(body).value_or(GetAccessTokenResponse{});
    deps_.keychain->set(reply.accessToken, "accessToken");
    deps_.keychain->set(reply.refreshToken, "refreshToken");

    const auto names = deps_.interfaceNames ? deps_.interfaceNames() : std::vector<std::string>{};
    const std::string ipV6 = getIPAddress(names).value_or("");
    const std::string ipV4 = getIPAddress(names).value_or("");

    deps_.sessionService->initiateTransactions(ipV6, ipV4, customerName, completion, observer.initiated);
}

}  // namespace quarra
