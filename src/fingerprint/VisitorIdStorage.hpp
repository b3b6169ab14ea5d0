#pragma once
// The two identifiers in the secure store, under "DataCollectorVisitorId" and
// "DataCollectorRequestId". Safe from any thread.
#include <memory>

#include <quarra/KeychainWrapper.hpp>

#include "fingerprint/DataStorageProtocol.hpp"

namespace quarra {

class VisitorIdStorage final : public DataStorageProtocol {
public:
    static constexpr const char* kVisitorIdKey = "DataCollectorVisitorId";
    static constexpr const char* kRequestIdKey = "DataCollectorRequestId";

    explicit VisitorIdStorage(KeychainWrapper& keychain) : keychain_(keychain) {}

    void saveVisitorId(const std::string& visitorId) override;
    void saveRequestId(const std::string& requestId) override;
    std::optional<std::string> visitorId() const override;
    std::optional<std::string> requestId() const override;

private:
    KeychainWrapper& keychain_;
};

}  // namespace quarra
