#include "config/SessionConfigManager.hpp"

namespace quarra {

SessionConfiguration SessionConfiguration::from(const InitiateTransactionsResponse& document) {
    const auto& collector = document.data.configuration.dataCollector;
    const auto& flags = collector.flags;
    return SessionConfiguration{
        .visitorIDExpired = flags.visitorIDExpired,
        .fppEnable = flags.fppenabled,
        .apiSetting = collector.featureDetails,
        .sessionKey = document.data.transactionId,
        .flushStoredData = flags.flushStoredData,
        .fPJSApiToken = flags.fpjsapiToken,
        .baseDcUrl = collector.baseEndPoints.baseDcUrl,
        .baseLoggingUrl = collector.baseEndPoints.baseLoggingUrl,
        .logLevel = flags.logLevel,
    };
}

SessionConfiguration SessionConfigManager::snapshot() const {
    std::lock_guard lock(mutex_);
    return configuration_;
}

void SessionConfigManager::replace(SessionConfiguration configuration) {
    std::lock_guard lock(mutex_);
    configuration_ = std::move(configuration);
}

std::optional<bool> SessionConfigManager::visitorIDExpired() const {
    std::lock_guard lock(mutex_);
    return configuration_.visitorIDExpired;
}

std::optional<bool> SessionConfigManager::fppEnable() const {
    std::lock_guard lock(mutex_);
    return configuration_.fppEnable;
}

std::vector<FeatureDetails> SessionConfigManager::apiSetting() const {
    std::lock_guard lock(mutex_);
    return configuration_.apiSetting;
}

std::optional<FeatureDetails> SessionConfigManager::appliedFeature(const std::string& apiName, bool& listApplied) const {
    std::lock_guard lock(mutex_);
    listApplied = !configuration_.apiSetting.empty();
    for (const auto& details : configuration_.apiSetting) {
        if (details.apiName && *details.apiName == apiName) return details;
    }
    return std::nullopt;
}

std::optional<std::string> SessionConfigManager::sessionKey() const {
    std::lock_guard lock(mutex_);
    return configuration_.sessionKey;
}

std::optional<bool> SessionConfigManager::flushStoredData() const {
    std::lock_guard lock(mutex_);
    return configuration_.flushStoredData;
}

std::optional<std::string> SessionConfigManager::fPJSApiToken() const {
    std::lock_guard lock(mutex_);
    return configuration_.fPJSApiToken;
}

std::optional<std::string> SessionConfigManager::baseDcUrl() const {
    std::lock_guard lock(mutex_);
    return configuration_.baseDcUrl;
}

std::optional<std::string> SessionConfigManager::baseLoggingUrl() const {
    std::lock_guard lock(mutex_);
    return configuration_.baseLoggingUrl;
}

std::optional<int64_t> SessionConfigManager::logLevel() const {
    std::lock_guard lock(mutex_);
    return configuration_.logLevel;
}

}  // namespace quarra
