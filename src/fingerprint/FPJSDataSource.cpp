#include "fingerprint/FPJSDataSource.hpp"

#include "config/SessionConfigManager.hpp"

namespace quarra {
namespace {

std::string describe(const std::optional<std::string>& value) { return value ? *value : "nil"; }

}  // namespace

FPJSDataSource::FPJSDataSource(QuarraFPJSConfiguration configuration, std::string sessionKey,
                               Dependencies dependencies)
    : configuration_(std::move(configuration)), sessionKey_(std::move(sessionKey)), deps_(std::move(dependencies)) {}

void FPJSDataSource::fetchVisitorId(Completion completion) {
    std::string apiKey = deps_.sessionConfig->fPJSApiToken().value_or("");
    Metadata metadata(std::nullopt);
    metadata.setTag(deps_.sessionConfig->sessionKey().value_or(""), "SessionKey");

    auto finish = [console = deps_.console, completion = std::move(completion)](
                      std::optional<std::string> visitorId, std::optional<std::string> requestId) {
        console->log("RequestID = " + describe(requestId));
        console->log("VisitorID = " + describe(visitorId));
        if (completion) completion(std::move(visitorId), std::move(requestId));
    };
    auto client = deps_.clientFactory(apiKey);
    if (!client) {
        finish(std::nullopt, std::nullopt);
        return;
    }
    client->getVisitorIdResponse(std::move(metadata),
                                 [finish = std::move(finish)](std::optional<FingerprintResponse> response,
                                                              std::optional<std::string> /*error: dropped*/) {
                                     if (!response) {
                                         finish(std::nullopt, std::nullopt);
                                         return;
                                     }
                                     finish(std::move(response->visitorId), std::move(response->requestId));
                                 });
}

}  // namespace quarra
