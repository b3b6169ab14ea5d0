#include "fingerprint/FPLogicHandler.hpp"

#include "config/SessionConfigManager.hpp"

namespace quarra {
namespace {

bool isSet(const std::optional<bool>& flag) { return flag.value_or(false); }

std::optional<std::string> nonEmpty(std::optional<std::string> value) {
    if (value && value->empty()) return std::nullopt;
    return value;
}

}  // namespace

std::shared_ptr<FPLogicHandler> FPLogicHandler::create(std::shared_ptr<DataStorageProtocol> storage,
                                                       std::shared_ptr<FingerprintDataSource> dataSource,
                                                       RequestsManager* requestsManager,
                                                       const SessionConfigManager* sessionConfig) {
    return std::shared_ptr<FPLogicHandler>(
        new FPLogicHandler(std::move(storage), std::move(dataSource), requestsManager, sessionConfig));
}

FPLogicHandler::FPLogicHandler(std::shared_ptr<DataStorageProtocol> storage,
                               std::shared_ptr<FingerprintDataSource> dataSource, RequestsManager* requestsManager,
                               const SessionConfigManager* sessionConfig)
    : storage_(std::move(storage)),
      dataSource_(std::move(dataSource)),
      requestsManager_(requestsManager),
      sessionConfig_(sessionConfig) {}

void FPLogicHandler::collectFingerprint(Completion completion) {
    SessionConfiguration config = sessionConfig_->snapshot();
    bool enabled = isSet(config.fppEnable);
    // An empty stored identifier is as good as none: it could not be reported.
    auto storedVisitorId = nonEmpty(storage_->visitorId());

    if (isSet(config.flushStoredData)) {
        if (enabled) fetchFresh(std::move(completion));
        return;
    }
    if (isSet(config.visitorIDExpired) && enabled) {
        fetchFresh(std::move(completion));
        return;
    }
    if (enabled && storedVisitorId) {
        if (completion) completion(std::move(storedVisitorId), storage_->requestId());
    }
}

void FPLogicHandler::fetchFresh(Completion completion) {
    dataSource_->fetchVisitorId([weak = weak_from_this(), completion = std::move(completion)](
                                    std::optional<std::string> visitorId, std::optional<std::string> requestId) {
        auto self = weak.lock();
        if (!self) return;
        if (visitorId && !visitorId->empty()) self->storage_->saveVisitorId(*visitorId);
        if (requestId && !requestId->empty()) self->storage_->saveRequestId(*requestId);
        if (completion) completion(nonEmpty(self->storage_->visitorId()), self->storage_->requestId());
    });
}

}  // namespace quarra
