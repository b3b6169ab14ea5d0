#pragma once
// The applied session configuration, process-wide. Safe from any thread.
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "config/ConfigurationDocument.hpp"
#include "transport/ServerLog.hpp"

namespace quarra {

struct SessionConfiguration {
    std::optional<bool> visitorIDExpired;
    std::optional<bool> fppEnable;
    std::vector<FeatureDetails> apiSetting;
    std::optional<std::string> sessionKey;
    std::optional<bool> flushStoredData;
    std::optional<std::string> fPJSApiToken;
    std::optional<std::string> baseDcUrl;
    std::optional<std::string> baseLoggingUrl;
    std::optional<int64_t> logLevel;

    // The nine fields a document fills in.
    static SessionConfiguration from(const InitiateTransactionsResponse& document);
};

class SessionConfigManager : public LogLevelSource {
public:
    // The process-wide holder the library built.
    static SessionConfigManager& shared();

    SessionConfiguration snapshot() const;
    void replace(SessionConfiguration configuration);

    std::optional<bool> visitorIDExpired() const;
    std::optional<bool> fppEnable() const;
    std::vector<FeatureDetails> apiSetting() const;
    // The first applied record whose apiName equals `apiName`, copied alone
    // (a report asks for one, not for the list); `listApplied` says whether
    // any list has been applied.
    std::optional<FeatureDetails> appliedFeature(const std::string& apiName, bool& listApplied) const;
    std::optional<std::string> sessionKey() const;
    std::optional<bool> flushStoredData() const;
    std::optional<std::string> fPJSApiToken() const;
    std::optional<std::string> baseDcUrl() const;
    std::optional<std::string> baseLoggingUrl() const;
    std::optional<int64_t> logLevel() const override;

private:
    mutable std::mutex mutex_;
    SessionConfiguration configuration_;
};

class RequestsManager;

// Copies a decoded document into the transport's base URLs and the holder.
void applyConfiguration(const InitiateTransactionsResponse& document, RequestsManager& transport,
                        SessionConfigManager& holder);

class SessionConfigUtility {
public:
    // The first record whose apiName equals `apiName` exactly; the built-in
    // default list stands in while nothing has been applied.
    static std::optional<FeatureDetails> featureDetails(const std::string& apiName,
                                                        const SessionConfigManager& holder = SessionConfigManager::shared());
};

}  // namespace quarra
