#include "fingerprint/VisitorIdStorage.hpp"

namespace quarra {

// No accessibility and not synchronisable: the identifiers stay on this device.
void VisitorIdStorage::saveVisitorId(const std::string& visitorId) { keychain_.set(visitorId, kVisitorIdKey); }

void VisitorIdStorage::saveRequestId(const std::string& requestId) { keychain_.set(requestId, kRequestIdKey); }

std::optional<std::string> VisitorIdStorage::visitorId() const { return keychain_.string(kVisitorIdKey); }

std::optional<std::string> VisitorIdStorage::requestId() const { return keychain_.string(kRequestIdKey); }

}  // namespace quarra
