#pragma once
// Decides, from the session configuration, whether a start of collection asks
// for a fresh device identification, reports the stored identifiers, or does
// nothing; keeps what a fresh identification returns.
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "fingerprint/DataStorageProtocol.hpp"
#include "fingerprint/FingerprintDataSource.hpp"

namespace quarra {

class RequestsManager;
class SessionConfigManager;

class FPLogicHandler : public std::enable_shared_from_this<FPLogicHandler> {
public:
    using Completion = std::function<void(std::optional<std::string> visitorId, std::optional<std::string> requestId)>;

    // `requestsManager` is kept for the service's use only; the run never
    // sends through it. `sessionConfig` is required.
    static std::shared_ptr<FPLogicHandler> create(std::shared_ptr<DataStorageProtocol> storage,
                                                  std::shared_ptr<FingerprintDataSource> dataSource,
                                                  RequestsManager* requestsManager,
                                                  const SessionConfigManager* sessionConfig);

    // One run of the decision (flags count only when present and true):
    //  - flushStoredData: a fresh identification when fppEnable, else nothing;
    //  - visitorIDExpired and fppEnable: a fresh identification;
    //  - fppEnable and a visitor identifier stored: the stored pair, at once,
    //    on the caller's thread;
    //  - otherwise nothing, and the completion is never called.
    // After a fresh identification the non-empty identifiers it returned are
    // stored and the completion gets the stored pair (so a failed one still
    // reports earlier identifiers), on the identification's thread; nothing
    // happens if the handler is gone by then.
    void collectFingerprint(Completion completion);

    const std::shared_ptr<DataStorageProtocol>& storage() const { return storage_; }
    const std::shared_ptr<FingerprintDataSource>& dataSource() const { return dataSource_; }
    RequestsManager* requestsManager() const { return requestsManager_; }

private:
    FPLogicHandler(std::shared_ptr<DataStorageProtocol> storage, std::shared_ptr<FingerprintDataSource> dataSource,
                   RequestsManager* requestsManager, const SessionConfigManager* sessionConfig);
    void fetchFresh(Completion completion);

    std::shared_ptr<DataStorageProtocol> storage_;
    std::shared_ptr<FingerprintDataSource> dataSource_;
    RequestsManager* requestsManager_;
    const SessionConfigManager* sessionConfig_;
};

}  // namespace quarra
