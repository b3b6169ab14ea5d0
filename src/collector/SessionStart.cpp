#include "collector/SessionStart.hpp"

#include "config/SessionConfigManager.hpp"
#include "config/SessionConfigServices.hpp"
#include "collector/CollectionService.hpp"
#include "credentials/AccessTokenService.hpp"
#include "platform/PathMonitor.hpp"
#include "fingerprint/FPJSDataSource.hpp"
#include "fingerprint/FPLogicHandler.hpp"
#include "fingerprint/VisitorIdStorage.hpp"
#include "platform/DeviceInfo.hpp"
#include "platform/Environment.hpp"
#include "transport/RequestsManager.hpp"

namespace quarra {

std::shared_ptr<SessionStart> SessionStart::create(Dependencies dependencies) {
    return std::shared_ptr<SessionStart>(new SessionStart(std::move(dependencies)));
}

SessionStart::SessionStart(Dependencies dependencies) : deps_(std::move(dependencies)) {}

void SessionStart::authenticateUser(const std::string& userName, const std::string& secretKey,
                                    const std::string& customerName, StringCompletion completion) {
    const auto& console = deps_.collector->console();
    if (userName.empty()) {
        console.log("UserName cannot be an empty string");
        console.log("DataCollector library initialized successfully: false");
        return;
    }
    std::weak_ptr<SessionStart> weakSelf = weak_from_this();
    deps_.networkMonitor->start([weakSelf, userName, secretKey, customerName, completion](bool satisfied) {
        if (auto self = weakSelf.lock()) self->pathChanged(satisfied, userName, secretKey, customerName, completion);
    });
}

void SessionStart::pathChanged(bool satisfied, const std::string& userName, const std::string& secretKey,
                               const std::string& customerName, const StringCompletion& completion) {
    if (!satisfied) {
        deps_.sessionService->loadCachedConfiguration(completion);
        return;
    }
    std::weak_ptr<SessionStart> weakSelf = weak_from_this();
    deps_.tokenService->requestAccessToken(
        userName, secretKey, customerName, [weakSelf, completion](const std::string& sessionKey) {
            auto self = weakSelf.lock();
            if (self) self->deps_.collector->console().print("TransactionID ==  " + sessionKey);
            if (completion) completion(sessionKey);
            if (!self) return;
            std::weak_ptr<SessionStart> weakAgain = self;
            self->startCollection([weakAgain](bool started) {
                if (auto self = weakAgain.lock()) {
                    self->deps_.collector->console().print(std::string("user data called ") + (started ? "true" : "false"));
                }
            });
        });
}

void SessionStart::startCollection(BoolCompletion completion) {
    auto& collector = *deps_.collector;
    const auto& console = collector.console();
    if (collector.ignoreDataCollection()) {
        console.log("ignoreDataCollection is true, not initializing the DataCollector services");
        if (completion) completion(false);
        return;
    }
    const auto& dependencies = collector.dependencies();
    auto configuration = dependencies.sessionConfigManager->snapshot();
    if (configuration.baseDcUrl) {
        dependencies.requestsManager->setBaseUrl(*configuration.baseDcUrl);
    } else {
        dependencies.requestsManager->setBaseUrl(collector.region() == Region::APAC
                                                     ? deps_.baseUrls.collectorCertification
                                                     : deps_.baseUrls.collectorProduction);
    }
    console.log("Starting DataCollector with data: {\nsessionKey: " + collector.sessionKey() + ",\npartnerCD: " +
                collector.accountName() + ",\nregion: " + regionName(collector.region()) +
                ",\nsandboxEnabled: true\n}");
    collector.setSessionKey(configuration.sessionKey.value_or(""));

    auto userData = buildUserData(deps_.deviceFacts ? deps_.deviceFacts() : DeviceFacts{}, deps_.bundle,
                                  CollectionService::kPageURL);

    if (deps_.collectFingerprint) {
        std::weak_ptr<CollectionService> weakCollector = deps_.collector;
        deps_.collectFingerprint([weakCollector](const std::optional<std::string>& visitorId,
                                                 const std::optional<std::string>& requestId,
                                                 const std::optional<std::string>& error) {
            auto collector = weakCollector.lock();
            if (collector && visitorId) collector->sendFingerprintData(*visitorId, requestId, error);
        });
    }

    std::weak_ptr<CollectionService> weakCollector = deps_.collector;
    collector.sendUserData(std::move(userData), [weakCollector](bool accepted) {
        if (auto collector = weakCollector.lock()) {
            collector->console().log(std::string("Send user data status: ") + (accepted ? "true" : "false"));
        }
    });
    console.log("DataCollector library initialized successfully: true");
    if (completion) completion(true);
}

}  // namespace quarra

namespace quarra {

std::shared_ptr<SessionStart> SessionStart::shared() {
    static const std::shared_ptr<SessionStart> instance = [] {
        auto& environment = Environment::shared();
        const auto& options = environment.options();
        auto console = std::make_shared<Console>(environment.console());
        return create(Dependencies{
            .collector = CollectionService::shared(),
            .tokenService = AccessTokenService::shared(),
            .sessionService = SessionConfigServices::shared(),
            .networkMonitor = options.pathMonitor ? options.pathMonitor
                                                  : makeNetlinkPathMonitor(makeSerialQueue("Monitor"), console),
            .deviceFacts = [] { return currentDeviceFacts(DeviceInfo::shared(), Environment::shared().clock()->now()); },
            .bundle = BundleValues{options.appName, options.appVersion},
            .baseUrls = environment.baseUrls(),
            .collectFingerprint = collectSharedFingerprint,
        });
    }();
    return instance;
}

// The fingerprint handler is built on first use, with the session key applied
// at that moment, and kept for the process.
void collectSharedFingerprint(SessionStart::FingerprintResult result) {
    static const std::shared_ptr<FPLogicHandler> handler = FPLogicHandler::create(
        VisitorIdStorage::shared(),
        std::make_shared<FPJSDataSource>(CollectionService::shared()->fingerprintData(),
                                         SessionConfigManager::shared().sessionKey().value_or("")),
        &RequestsManager::shared());
    handler->collectFingerprint([result](std::optional<std::string> visitorId, std::optional<std::string> requestId) {
        result(visitorId, requestId, std::nullopt);
    });
}

DeviceFacts currentDeviceFacts(const DeviceInfo& device, Clock::TimePoint now) {
    auto screen = device.screenSize();
    return DeviceFacts{
        .systemName = device.systemName(),
        .deviceName = device.name(),
        .machineIdentifier = device.machineIdentifier(),
        .screenWidth = screen.width,
        .screenHeight = screen.height,
        .preferredLanguages = device.preferredLanguages(),
        .timeZoneOffsetSeconds = static_cast<long>(device.timeZoneOffsetSeconds(now)),
    };
}

void DataCollectorService::authenticateUser(const std::string& userName, const std::string& secretKey,
                                            const std::string& customerName, StringCompletion completion) {
    SessionStart::shared()->authenticateUser(userName, secretKey, customerName, std::move(completion));
}

void DataCollectorService::getSessionKey(StringCompletion completion) {
    SessionConfigServices::shared()->getSessionKey(std::move(completion));
}

std::shared_ptr<PathMonitor> DataCollectorService::networkMonitor() const { return SessionStart::shared()->networkMonitor(); }

}  // namespace quarra
