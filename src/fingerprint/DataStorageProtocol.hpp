#pragma once
// Where the fingerprint run keeps the last identifiers it received.
#include <optional>
#include <string>

namespace quarra {

class DataStorageProtocol {
public:
    virtual ~DataStorageProtocol() = default;
    virtual void saveVisitorId(const std::string& visitorId) = 0;
    virtual void saveRequestId(const std::string& requestId) = 0;
    virtual std::optional<std::string> visitorId() const = 0;
    virtual std::optional<std::string> requestId() const = 0;
};

}  // namespace quarra
