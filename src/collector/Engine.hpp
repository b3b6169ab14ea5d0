#pragma once
// The composition root: builds the library's whole object graph once, from
// the host's options and the Linux defaults, owns its threads, and ends them.
// The process-wide names (DataCollectorService::defaultService(),
// RequestsManager::shared(), KeychainWrapper::standard(), ...) return what
// the process engine built; tests and benchmarks build engines of their own.
//
// Threads: one worker (reports, answers, retries, resend passes, disk work,
// the geocoder, the fingerprint, the accelerometer sampling, the path
// handler), one network thread (every HTTP request), the netlink reader when
// the Linux path monitor is used, and the main queue when the host brings
// none. Building an engine reads no file and starts no thread but the worker.
#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>

#include <quarra/DataCollectorService.hpp>
#include <quarra/KeychainWrapper.hpp>
#include <quarra/Options.hpp>

#include "base/ConsoleLog.hpp"
#include "collector/CollectionService.hpp"
#include "collector/EntryGate.hpp"
#include "collector/HealthRecorder.hpp"
#include "collector/ReportInbox.hpp"
#include "collector/SessionStart.hpp"
#include "config/CacheManager.hpp"
#include "config/SessionConfigManager.hpp"
#include "config/SessionConfigServices.hpp"
#include "credentials/AccessTokenService.hpp"
#include "credentials/SecureItemStore.hpp"
#include "credentials/StoreKey.hpp"
#include "device/MotionManager.hpp"
#include "fingerprint/FPLogicHandler.hpp"
#include "fingerprint/VisitorIdStorage.hpp"
#include "logging/LogManager.hpp"
#include "logging/ServerLogUtility.hpp"
#include "platform/BaseUrls.hpp"
#include "platform/DeviceInfo.hpp"
#include "queue/DataCollectorEventsQueue.hpp"
#include "tracking/TrackingContext.hpp"
#include "transactions/NetworkClient.hpp"
#include "transport/RequestsManager.hpp"

namespace quarra {

class CurlHttpClient;
class IioAccelerometerSource;
class ScreenAppearanceHooks;
class SerialQueue;

// Parts a test or a benchmark puts in place of the engine's own.
struct EngineParts {
    std::shared_ptr<Executor> worker;              // empty: the serial queue "quarra-worker"
    std::shared_ptr<DeviceInfo> device;            // empty: the Linux device facts
    std::shared_ptr<SecureItemStore> secureStore;  // empty: the sealed SQLite store in the data directory
    std::unique_ptr<EventStore> eventStore;        // empty: the sealed outbox in the data directory
    std::filesystem::path factsRoot = "/";         // where the fingerprint reads /etc, /sys and /proc
    // Runs on the network thread once libcurl and the TLS library are set up.
    std::function<void()> afterNetworkStart;
};

class Engine {
public:
    explicit Engine(Options options, EngineParts parts = {});
    // Ends the threads as stopAtExit() does.
    ~Engine();
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    // The process engine, built on first use from the options given to
    // configure() (or the defaults), and stopped at the process exit.
    static Engine& process();

    DataCollectorService& service() { return service_; }

    // The public lifecycle (see DataCollectorService).
    bool flush(std::chrono::milliseconds timeout);
    bool shutdown(std::chrono::milliseconds timeout);
    // Ends every thread without running anything more: no completion is
    // called, nothing is flushed. For the process exit. Safe to repeat.
    void stopAtExit();

    // Host calls pass this gate: false once shutdown() has begun.
    EntryGate& gate() { return gate_; }
    bool onLibraryThread() const;

    const Options options;
    const BaseUrls baseUrls;
    const std::filesystem::path dataDirectory;
    const std::shared_ptr<Clock> clock;
    const std::shared_ptr<Console> console;

private:
    void stopThreads(bool drain);

    std::mutex lifecycleMutex_;  // one shutdown at a time
    std::shared_ptr<SerialQueue> ownWorker_;
    std::shared_ptr<SerialQueue> ownMain_;
    std::shared_ptr<CurlHttpClient> ownHttp_;
    std::shared_ptr<IioAccelerometerSource> ownAccelerometer_;
    EntryGate gate_;
    std::atomic<bool> stopped_{false};

public:
    const std::shared_ptr<Executor> worker;
    const std::shared_ptr<Executor> main;
    const std::shared_ptr<HttpClient> http;

    HealthRecorder healthRecorder;
    SessionConfigManager config;
    KeychainWrapper keychain;
    const std::shared_ptr<DeviceInfo> device;
    LogManager logs;
    ServerLogUtility serverLog;
    RequestsManager requests;
    CacheManager cache;
    DataCollectorEventsQueue queue;
    const std::shared_ptr<ReverseGeocoder> geocoder;
    const std::shared_ptr<CollectionService> collector;
    const std::shared_ptr<ReportInbox> inbox;  // the host's reports on their way to the collector
    const std::shared_ptr<SessionConfigServices> sessionService;
    const std::shared_ptr<AccessTokenService> tokenService;
    const std::shared_ptr<AccelerometerSource> accelerometer;
    const std::shared_ptr<MotionManager> motion;
    const std::shared_ptr<VisitorIdStorage> visitorIds;
    const std::shared_ptr<PathMonitor> monitor;
    const std::shared_ptr<TextEditingNotificationCenter> notifications;
    const std::shared_ptr<const TrackingContext> tracking;
    const std::unique_ptr<ScreenAppearanceHooks> screenHooks;
    const std::shared_ptr<SessionStart> sessionStart;
    const std::shared_ptr<NetworkClient> transactionNetwork;
    // The worker for host calls that do not go through the facade (the
    // transaction client): the calling thread once the library has shut down.
    const std::shared_ptr<Executor> hostWorker;

private:
    // The key that seals the secure store and the outbox.
    StoreKeyResult sealingKey() const;
    // Built by the first start of collection, on the worker, with that
    // session's key; kept for the engine's life.
    void collectFingerprint(const std::string& sessionKey, SessionStart::FingerprintResult result);
    std::shared_ptr<FPLogicHandler> fingerprint_;  // worker only
    const std::filesystem::path factsRoot_;

    DataCollectorService service_;
};

// Where the library keeps its files when the host does not say.
std::filesystem::path defaultDataDirectory(const std::string& bundleIdentifier);

}  // namespace quarra
