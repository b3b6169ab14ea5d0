#pragma once
// Where the fingerprint run gets a fresh identification from.
#include <functional>
#include <optional>
#include <string>

namespace quarra {

class FingerprintDataSource {
public:
    // Both absent when the identification failed.
    using Completion = std::function<void(std::optional<std::string> visitorId, std::optional<std::string> requestId)>;
    virtual ~FingerprintDataSource() = default;
    // Returns at once; the completion runs once, on the identification's thread.
    virtual void fetchVisitorId(Completion completion) = 0;
};

}  // namespace quarra
