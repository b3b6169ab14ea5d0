#include "logging/LogManager.hpp"

#include <algorithm>

#include <quarra/KeychainWrapper.hpp>

#include "config/SessionConfigManager.hpp"
#include "base/JsonText.hpp"
#include "base/Timestamps.hpp"
#include "logging/SecretScrubber.hpp"
#include "logging/ServerLogUtility.hpp"
#include "platform/DeviceInfo.hpp"

namespace quarra {
namespace {

constexpr const char* kInsertLogData = "InsertLogData";
constexpr const char* kVisitorIdKey = "DataCollectorVisitorId";

std::string withoutBackslashes(std::string text) {
    text.erase(std::remove(text.begin(), text.end(), '\\'), text.end());
    return text;
}

}  // namespace

LogManager::LogManager(Dependencies dependencies) : dependencies_(std::move(dependencies)) {}

std::optional<LogDataModel> LogManager::makeRecord(const std::string& apiName, const std::string& type,
                                                   const std::string& message) {
    const Dependencies* deps = dependencies();
    if (!deps || !deps->sessionConfigManager || !deps->clock) return std::nullopt;
    const std::string safeMessage = withoutSecrets(message);

    JSONDictionary record = JSONDictionary::object();
    record["ApiName"] = apiName;
    if (deps->deviceInfo) {
        if (auto deviceId = deps->deviceInfo->identifierForVendor()) record["DeviceId"] = *deviceId;
    }
    if (deps->keychain) {
        if (auto visitorId = deps->keychain->string(kVisitorIdKey)) record["VisitorId"] = *visitorId;
    }
    record["SessionKey"] = deps->sessionConfigManager->sessionKey().value_or(",");
    record[type] = JSONDictionary::object({{type, safeMessage}});

    const auto now = deps->clock->now();
    const auto millis = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count();
    return LogDataModel{
        .logLevel = deps->sessionConfigManager->logLevel().value_or(0),
        .logMsg = withoutBackslashes(prettyPrintedOrFallback(record)),
        .time = formatUTCTimestamp(now),
        .logTime = static_cast<double>(millis),
        .logDescription = safeMessage,
        .apiName = apiName,
    };
}

void LogManager::log(const std::string& apiName, const std::string& type, const std::string& message) {
    const Dependencies* deps = dependencies();
    if (!deps || !deps->sessionConfigManager || !deps->serverLogUtility) return;
    if (deps->sessionConfigManager->logLevel() == 3) return;
    auto settings = SessionConfigUtility::featureDetails(kInsertLogData, *deps->sessionConfigManager);
    if (!settings || !settings->enabled) return;
    auto record = makeRecord(apiName, type, message);
    std::string text = record ? record->jsonText().value_or("") : "";
    if (text.empty()) return;
    deps->serverLogUtility->sendLog(text, [](bool) {});
}

}  // namespace quarra
