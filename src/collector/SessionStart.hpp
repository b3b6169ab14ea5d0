#pragma once
// Authentication and the start of collection: the network path drives the
// chain token -> initiate -> session key -> start-up report.
//
// The path handler and the start of collection run on the worker; the
// initiate result (and with it the host's completion) arrives on the main
// executor, as the session configuration delivers it.
#include <atomic>
#include <chrono>
#include <functional>
#include <random>
#include <memory>
#include <optional>
#include <string>

#include <quarra/Clock.hpp>
#include <quarra/Executor.hpp>

#include "collector/UserDataPayload.hpp"

namespace quarra {

class AccessTokenService;
class DeviceInfo;
class CollectionService;
class HealthRecorder;
class PathMonitor;
class SessionConfigServices;

class SessionStart : public std::enable_shared_from_this<SessionStart> {
public:
    using StringCompletion = std::function<void(const std::string&)>;
    using BoolCompletion = std::function<void(bool)>;
    // Delivers (visitorId, requestId, error) once the fingerprint run ends.
    using FingerprintResult = std::function<void(const std::optional<std::string>&, const std::optional<std::string>&,
                                                 const std::optional<std::string>&)>;
    // One fingerprint run for the session that has just started.
    using FingerprintRun = std::function<void(const std::string& sessionKey, FingerprintResult)>;

    struct Dependencies {
        std::shared_ptr<CollectionService> collector;
        std::shared_ptr<AccessTokenService> tokenService;
        std::shared_ptr<SessionConfigServices> sessionService;
        std::shared_ptr<PathMonitor> networkMonitor;
        std::function<DeviceFacts()> deviceFacts;
        BundleValues bundle;
        FingerprintRun collectFingerprint;      // empty: no fingerprint run
        std::shared_ptr<Executor> worker;       // path handler, start of collection; empty: where they arrive
        std::shared_ptr<Executor> mainExecutor;  // the host's collectionStarted; empty: on the worker
        std::function<void()> switchOnScreenTracking;  // after each online completion; switching is once for all
        HealthRecorder* health = nullptr;               // hears of the session's state; may be null
        // The pause before the n-th run again of a chain that opened no
        // session (0 first). Empty: 5 s doubling to 5 minutes, give or take a fifth.
        std::function<std::chrono::milliseconds(int attempt)> retryDelay;
    };

    static std::shared_ptr<SessionStart> create(Dependencies dependencies);

    // Installs the path handler: a usable path runs token, initiate and
    // start; no path applies the cached configuration. The completion gets
    // the session key each time; `collectionStarted` hears of each start of
    // collection. An empty user name is refused.
    void authenticateUser(const std::string& userName, const std::string& secretKey, const std::string& customerName,
                          StringCompletion completion, BoolCompletion collectionStarted = {});
    // Adopts `sessionKey` and sends the start-up report (the fingerprint run
    // goes along); the completion gets false when collection is ignored.
    void startCollection(const std::string& sessionKey, BoolCompletion completion);

    const std::shared_ptr<PathMonitor>& networkMonitor() const { return deps_.networkMonitor; }

    // No chain runs again after this (the library's shutdown). Any thread.
    void stop() { stopped_.store(true); }

    // The default pause before the n-th run again (0 first), with `jitter` in [-1, 1].
    static std::chrono::milliseconds backoff(int attempt, double jitter);

private:
    struct Account;
    explicit SessionStart(Dependencies dependencies);
    void pathChanged(bool satisfied, const std::shared_ptr<const Account>& account);
    // One run of token, initiate and start, for the path of `generation`;
    // `again` after a run that opened no session.
    void runChain(uint64_t generation, bool again);
    void sessionOpened(const std::string& sessionKey, bool fresh, uint64_t generation, bool again,
                       const std::shared_ptr<const Account>& account);
    // A run that opened no fresh session: another one after a pause, while
    // the path stays usable (worker).
    void chainFailed(uint64_t generation);
    void onWorker(std::function<void()> task) const;

    Dependencies deps_;
    std::atomic<bool> stopped_{false};
    // The chain's state for the path now (worker only).
    struct Chain {
        uint64_t generation = 0;  // one per path change
        int attempts = 0;         // runs again since the path changed or a session opened
        bool pathUsable = false;
        std::shared_ptr<const Account> account;
    };
    Chain chain_;
    std::mt19937 jitter_{std::random_device{}()};
};

// The device facts of the start-up report, read now.
DeviceFacts currentDeviceFacts(const DeviceInfo& device, Clock::TimePoint now);

}  // namespace quarra
