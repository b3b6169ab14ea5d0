#include "collector/Engine.hpp"

#include <cstdlib>

#include <quarra/tracking/ScreenAppearanceHooks.hpp>

#include "collector/GatedExecutor.hpp"
#include "credentials/LazySecureItemStore.hpp"
#include "credentials/SqliteSecureItemStore.hpp"
#include "credentials/StoreKey.hpp"
#include "queue/SqliteOutbox.hpp"
#include "device/IioAccelerometerSource.hpp"
#include "device/OfflineReverseGeocoder.hpp"
#include "fingerprint/FPJSDataSource.hpp"
#include "fingerprint/FingerprintPro.hpp"
#include "platform/CurlHttpClient.hpp"
#include "platform/InterfaceNames.hpp"
#include "platform/LinuxDeviceInfo.hpp"
#include "platform/LocalizedModel.hpp"
#include "platform/PathMonitor.hpp"
#include "platform/SerialQueue.hpp"

namespace quarra {
namespace {

// The service name of the standard secure store when the host has no bundle identifier.
constexpr const char* kDefaultServiceName = "net.quarra.datacollector";
// How long an attempt of a host-supplied client may stay unanswered past its
// own time-out before it counts as failed.
constexpr std::chrono::milliseconds kAnswerGrace{2000};

template <typename T>
std::shared_ptr<T> orMake(std::shared_ptr<T> given, const std::function<std::shared_ptr<T>()>& make) {
    return given ? std::move(given) : make();
}

std::shared_ptr<Executor> ownedOr(const std::shared_ptr<SerialQueue>& owned, std::shared_ptr<Executor> given) {
    return owned ? std::static_pointer_cast<Executor>(owned) : std::move(given);
}

}  // namespace

std::filesystem::path defaultDataDirectory(const std::string& bundleIdentifier) {
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg) {
        return std::filesystem::path(xdg) / bundleIdentifier;
    }
    if (const char* home = std::getenv("HOME"); home && *home) {
        return std::filesystem::path(home) / ".local" / "share" / bundleIdentifier;
    }
    return std::filesystem::temp_directory_path() / bundleIdentifier;
}

Engine::Engine(Options givenOptions, EngineParts parts)
    : options(std::move(givenOptions)),
      baseUrls(BaseUrls::from(options.origins)),
      dataDirectory(options.dataDirectory.empty() ? defaultDataDirectory(options.bundleIdentifier)
                                                  : options.dataDirectory),
      clock(options.clock ? options.clock : std::make_shared<SystemClock>()),
      console(std::make_shared<Console>(options.console ? options.console : makeStdoutSink(), clock)),
      ownWorker_(parts.worker ? nullptr : std::make_shared<SerialQueue>("quarra-worker")),
      ownMain_(options.mainExecutor ? nullptr : std::make_shared<SerialQueue>("quarra-main")),
      ownHttp_(options.httpClient ? nullptr
                                  : std::make_shared<CurlHttpClient>(CurlClientOptions{.caFile = options.caFile},
                                                                     std::move(parts.afterNetworkStart))),
      worker(ownedOr(ownWorker_, parts.worker)),
      main(ownedOr(ownMain_, options.mainExecutor)),
      http(ownHttp_ ? std::static_pointer_cast<HttpClient>(ownHttp_) : options.httpClient),
      healthRecorder(clock, console),
      keychain(options.bundleIdentifier.empty() ? std::string(kDefaultServiceName) : options.bundleIdentifier,
               std::nullopt,
               orMake<SecureItemStore>(parts.secureStore,
                                       [this] {
                                           return std::make_shared<LazySecureItemStore>([this] {
                                               return std::make_shared<SqliteSecureItemStore>(
                                                   dataDirectory, options.secureStoreKey, *console);
                                           });
                                       })),
      device(orMake<DeviceInfo>(parts.device,
                                [this] {
                                    return makeLinuxDeviceInfo(LinuxDeviceInfoSettings{
                                        .screenWidth = options.screenWidth,
                                        .screenHeight = options.screenHeight,
                                        .preferredLanguages = options.preferredLanguages,
                                        .keychain = &keychain,
                                        .orientation = options.orientationSource,
                                    });
                                })),
      logs(LogManager::Dependencies{
          .sessionConfigManager = &config,
          .keychain = &keychain,
          .deviceInfo = device.get(),
          .serverLogUtility = &serverLog,
          .clock = clock,
      }),
      serverLog(ServerLogUtility::Dependencies{
          .requestsManager = &requests,
          .sessionConfigManager = &config,
          .console = console,
          .reportFailure = [this](const std::string& operation, const APIError& error) {
              healthRecorder.failed(operation, error);
          },
      }),
      requests(RequestsManager::Dependencies{
          .session = http,
          .mainExecutor = main,
          .worker = worker,
          .baseUrls = baseUrls,
          .logManager = &logs,
          .sessionConfigManager = &config,
          // Our own client answers every request: its time-out counts from the
          // wire, and a request waiting for a connection is not lost. A host's
          // client gets the guard.
          .answerGrace = ownHttp_ ? std::nullopt : std::optional(kAnswerGrace),
      }),
      cache(dataDirectory),
      queue(parts.eventStore ? std::move(parts.eventStore)
                             : std::make_unique<SqliteOutbox>(SqliteOutbox::Settings{
                                   .directory = dataDirectory,
                                   .key = [this] { return sealingKey(); },
                               }),
            console.get(), clock),
      geocoder(orMake<ReverseGeocoder>(options.reverseGeocoder,
                                       [this] {
                                           return std::make_shared<OfflineReverseGeocoder>(
                                               worker, loadEmbeddedGeoTable,
                                               [console = console](const std::string& message) { console->log(message); });
                                       })),
      collector(CollectionService::create(CollectionService::Dependencies{
          .requestsManager = &requests,
          .queue = &queue,
          .sessionConfigManager = &config,
          .logManager = &logs,
          .console = console,
          .worker = worker,
          .geocoder = geocoder,
          .health = &healthRecorder,
          .clock = clock,
      })),
      inbox(ReportInbox::create(worker, collector)),
      sessionService(SessionConfigServices::create(SessionConfigServices::Dependencies{
          .requestsManager = &requests,
          .sessionConfigManager = &config,
          .keychain = &keychain,
          .logManager = &logs,
          .cache = &cache,
          .mainExecutor = main,
          .ioExecutor = worker,
          .console = console,
          .identifierForVendor = [device = device] { return device->identifierForVendor(); },
          .reportFailure = [this](const std::string& operation, const APIError& error) {
              healthRecorder.failed(operation, error);
          },
      })),
      tokenService(AccessTokenService::create(AccessTokenService::Dependencies{
          .requestsManager = &requests,
          .sessionConfigManager = &config,
          .keychain = &keychain,
          .logManager = &logs,
          .sessionService = sessionService,
          .mainExecutor = main,
          .interfaceNames = activeInterfaceNames,
          .reportFailure = [this](const std::string& operation, const APIError& error) {
              healthRecorder.failed(operation, error);
          },
      })),
      accelerometer(orMake<AccelerometerSource>(options.accelerometerSource,
                                                [this] {
                                                    ownAccelerometer_ = std::make_shared<IioAccelerometerSource>(
                                                        kDefaultIioRoot, worker,
                                                        [console = console](const std::string& message) {
                                                            console->log(message);
                                                        });
                                                    return ownAccelerometer_;
                                                })),
      motion(MotionManager::create(MotionManager::Dependencies{
          .source = accelerometer,
          .mainExecutor = main,
          .console = console,
          .localizedModel = [device = device] { return device->localizedModel(); },
      })),
      visitorIds(std::make_shared<VisitorIdStorage>(keychain)),
      monitor(orMake<PathMonitor>(options.pathMonitor, [this] { return makeNetlinkPathMonitor(worker, console); })),
      notifications(std::make_shared<TextEditingNotificationCenter>()),
      tracking([this] {
          auto context = std::make_shared<TrackingContext>();
          context->reports = collector;
          context->mainExecutor = main;
          context->reportExecutor = worker;
          context->clock = clock;
          context->console = console;
          context->systemLog = makeStderrSink();
          context->device = device;
          context->motion = motion;
          context->values = std::make_shared<TrackingValues>();
          context->notifications = notifications;
          context->accepting = [this] { return !gate_.isClosed(); };
          return context;
      }()),
      screenHooks(std::make_unique<ScreenAppearanceHooks>(tracking)),
      sessionStart(SessionStart::create(SessionStart::Dependencies{
          .collector = collector,
          .tokenService = tokenService,
          .sessionService = sessionService,
          .networkMonitor = monitor,
          .deviceFacts = [this] { return currentDeviceFacts(*device, clock->now()); },
          .bundle = BundleValues{options.appName, options.appVersion},
          .collectFingerprint = [this](const std::string& sessionKey,
                                       SessionStart::FingerprintResult result) {
              collectFingerprint(sessionKey, std::move(result));
          },
          .worker = worker,
          .mainExecutor = main,
          .switchOnScreenTracking = [hooks = screenHooks.get()] { hooks->install(); },
          .health = &healthRecorder,
      })),
      transactionNetwork(std::make_shared<NetworkClient>(http, worker, [this] { return !gate_.isClosed(); })),
      hostWorker(std::make_shared<GatedExecutor>(gate_, worker)),
      factsRoot_(std::move(parts.factsRoot)),
      service_(*this) {}

Engine::~Engine() { stopAtExit(); }

StoreKeyResult Engine::sealingKey() const {
    // The secure store's key: the host's, or the key file beside the store.
    if (!options.secureStoreKey.empty()) return keyFromHost(options.secureStoreKey);
    return loadOrCreateKeyFile(dataDirectory / SqliteSecureItemStore::kKeyFileName);
}

void Engine::collectFingerprint(const std::string& sessionKey, SessionStart::FingerprintResult result) {
    if (!fingerprint_) {
        auto source = std::make_shared<FPJSDataSource>(
            collector->fingerprintData(), sessionKey,
            FPJSDataSource::Dependencies{
                .sessionConfig = &config,
                .clientFactory =
                    [this](const std::string& apiKey) {
                        return FingerprintProFactory::getInstance(apiKey, FingerprintClientOptions{
                                                                              .factsRoot = factsRoot_,
                                                                              .dataDirectory = dataDirectory,
                                                                              .queue = worker,
                                                                              .clock = clock,
                                                                          });
                    },
                .console = console,
            });
        fingerprint_ = FPLogicHandler::create(visitorIds, std::move(source), &requests, &config);
    }
    fingerprint_->collectFingerprint([result = std::move(result)](std::optional<std::string> visitorId,
                                                                  std::optional<std::string> requestId) {
        result(visitorId, requestId, std::nullopt);
    });
}

bool Engine::onLibraryThread() const {
    return (ownWorker_ && ownWorker_->isCurrentThread()) || (ownMain_ && ownMain_->isCurrentThread());
}

}  // namespace quarra
