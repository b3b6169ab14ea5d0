#include "collector/SessionStart.hpp"

#include <quarra/PathMonitor.hpp>

#include "collector/CollectionService.hpp"
#include "collector/HealthRecorder.hpp"
#include "config/SessionConfigServices.hpp"
#include "credentials/AccessTokenService.hpp"
#include "platform/DeviceInfo.hpp"

namespace quarra {

// What the host handed to authenticateUser, kept by the path handler.
struct SessionStart::Account {
    std::string userName;
    std::string secretKey;
    std::string customerName;
    StringCompletion completion;
    BoolCompletion collectionStarted;
};

std::shared_ptr<SessionStart> SessionStart::create(Dependencies dependencies) {
    return std::shared_ptr<SessionStart>(new SessionStart(std::move(dependencies)));
}

SessionStart::SessionStart(Dependencies dependencies) : deps_(std::move(dependencies)) {}

void SessionStart::onWorker(std::function<void()> task) const {
    if (deps_.worker) {
        deps_.worker->post(std::move(task));
    } else {
        task();
    }
}

void SessionStart::authenticateUser(const std::string& userName, const std::string& secretKey,
                                    const std::string& customerName, StringCompletion completion,
                                    BoolCompletion collectionStarted) {
    const auto& console = deps_.collector->console();
    if (userName.empty()) {
        console.log("UserName cannot be an empty string");
        console.log("DataCollector library initialized successfully: false");
        return;
    }
    auto account = std::make_shared<const Account>(
        Account{userName, secretKey, customerName, std::move(completion), std::move(collectionStarted)});
    std::weak_ptr<SessionStart> weakSelf = weak_from_this();
    deps_.networkMonitor->start([weakSelf, account](bool satisfied) {
        auto self = weakSelf.lock();
        if (!self) return;
        self->onWorker([weakSelf, account, satisfied] {
            if (auto self = weakSelf.lock()) self->pathChanged(satisfied, account);
        });
    });
}

void SessionStart::pathChanged(bool satisfied, const std::shared_ptr<const Account>& account) {
    // Every change starts afresh: a new generation, no pause carried over.
    chain_.generation += 1;
    chain_.attempts = 0;
    chain_.pathUsable = satisfied;
    chain_.account = account;
    if (!satisfied) {
        std::weak_ptr<SessionStart> weakSelf = weak_from_this();
        deps_.sessionService->loadCachedConfiguration([weakSelf, account](const std::string& sessionKey) {
            auto self = weakSelf.lock();
            if (self && self->deps_.health) {
                self->deps_.health->session(sessionKey.empty() ? HealthRecorder::Health::Session::none
                                                               : HealthRecorder::Health::Session::offlineFromCache);
            }
            if (account->completion) account->completion(sessionKey);
        });
        return;
    }
    runChain(chain_.generation, false);
}

void SessionStart::runChain(uint64_t generation, bool again) {
    auto account = chain_.account;
    std::weak_ptr<SessionStart> weakSelf = weak_from_this();
    // How the initiate call ended, told just before the session key arrives.
    auto fresh = std::make_shared<bool>(false);
    AccessTokenService::ChainObserver observer{
        .tokenFailed =
            [weakSelf, generation] {
                if (auto self = weakSelf.lock()) self->onWorker([weakSelf, generation] {
                    if (auto self = weakSelf.lock()) self->chainFailed(generation);
                });
            },
        .initiated = [fresh](SessionConfigServices::InitiateOutcome outcome) {
            *fresh = outcome == SessionConfigServices::InitiateOutcome::fresh;
        },
    };
    deps_.tokenService->requestAccessToken(
        account->userName, account->secretKey, account->customerName,
        [weakSelf, account, fresh, generation, again](const std::string& sessionKey) {
            if (auto self = weakSelf.lock()) {
                self->sessionOpened(sessionKey, *fresh, generation, again, account);
            } else if (account->completion && !again) {
                account->completion(sessionKey);
            }
        },
        std::move(observer));
}

// On the main executor, where the initiate result arrives: the host hears
// the key first, then collection starts on the worker under that key, then
// screen tracking is switched on. No collection starts under an empty key:
// reports wait in the outbox until a session opens.
void SessionStart::sessionOpened(const std::string& sessionKey, bool fresh, uint64_t generation, bool again,
                                 const std::shared_ptr<const Account>& account) {
    deps_.collector->console().print("TransactionID ==  " + sessionKey);
    // A run again that failed once more tells the host nothing new and
    // starts nothing.
    const bool opened = fresh && !sessionKey.empty();
    if (again && !opened) {
        std::weak_ptr<SessionStart> weakSelf = weak_from_this();
        onWorker([weakSelf, generation] {
            if (auto self = weakSelf.lock()) self->chainFailed(generation);
        });
        return;
    }
    if (account->completion) account->completion(sessionKey);
    std::weak_ptr<SessionStart> weakSelf = weak_from_this();
    if (!opened) {
        onWorker([weakSelf, generation] {
            if (auto self = weakSelf.lock()) self->chainFailed(generation);
        });
    } else {
        onWorker([weakSelf, generation] {
            auto self = weakSelf.lock();
            if (self && self->chain_.generation == generation) self->chain_.attempts = 0;
        });
    }
    // Switched on as on every path change; without a key what it reports
    // waits in the queue for a session.
    if (deps_.switchOnScreenTracking) deps_.switchOnScreenTracking();
    if (sessionKey.empty()) return;
    onWorker([weakSelf, sessionKey, account] {
        auto self = weakSelf.lock();
        if (!self) return;
        self->startCollection(sessionKey, [weakSelf, account](bool started) {
            auto self = weakSelf.lock();
            if (!self) return;
            self->deps_.collector->console().print(std::string("user data called ") + (started ? "true" : "false"));
            if (!account->collectionStarted) return;
            if (!self->deps_.mainExecutor) return account->collectionStarted(started);
            self->deps_.mainExecutor->post([account, started] { account->collectionStarted(started); });
        });
    });
}

std::chrono::milliseconds SessionStart::backoff(int attempt, double jitter) {
    constexpr std::chrono::milliseconds kFirst{5'000};
    constexpr std::chrono::milliseconds kLongest{300'000};
    auto pause = kFirst;
    for (int i = 0; i < attempt && pause < kLongest; ++i) pause *= 2;
    pause = std::min(pause, kLongest);
    return std::chrono::milliseconds(static_cast<int64_t>(pause.count() * (1.0 + 0.2 * jitter)));
}

void SessionStart::chainFailed(uint64_t generation) {
    // Without a worker there is no timer to wait on: no run again.
    if (!deps_.worker || stopped_.load() || generation != chain_.generation || !chain_.pathUsable) return;
    const int attempt = chain_.attempts++;
    const auto pause = deps_.retryDelay ? deps_.retryDelay(attempt)
                                        : backoff(attempt, std::uniform_real_distribution<double>(-1.0, 1.0)(jitter_));
    deps_.collector->console().log("No session opened; signing in again in " + std::to_string(pause.count() / 1000) +
                                   " s");
    std::weak_ptr<SessionStart> weakSelf = weak_from_this();
    auto rerun = [weakSelf, generation] {
        auto self = weakSelf.lock();
        if (!self || self->stopped_.load() || generation != self->chain_.generation || !self->chain_.pathUsable) return;
        self->runChain(generation, true);
    };
    deps_.worker->postAfter(pause, std::move(rerun));
}

void SessionStart::startCollection(const std::string& sessionKey, BoolCompletion completion) {
    auto& collector = *deps_.collector;
    const auto& console = collector.console();
    if (collector.ignoreDataCollection()) {
        console.log("ignoreDataCollection is true, not initializing the DataCollector services");
        if (completion) completion(false);
        return;
    }
    console.log("Starting DataCollector with data: {\nsessionKey: " + collector.sessionKey() + ",\npartnerCD: " +
                collector.accountName() + ",\nregion: " + regionName(collector.region()) +
                ",\nsandboxEnabled: true\n}");
    collector.setSessionKey(sessionKey);
    if (deps_.health) {
        deps_.health->session(sessionKey.empty() ? HealthRecorder::Health::Session::none
                                                 : HealthRecorder::Health::Session::online);
    }

    auto userData = buildUserData(deps_.deviceFacts ? deps_.deviceFacts() : DeviceFacts{}, deps_.bundle,
                                  CollectionService::kPageURL);

    if (deps_.collectFingerprint) {
        std::weak_ptr<CollectionService> weakCollector = deps_.collector;
        deps_.collectFingerprint(sessionKey, [weakCollector](const std::optional<std::string>& visitorId,
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

}  // namespace quarra
