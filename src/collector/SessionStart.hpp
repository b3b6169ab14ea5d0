#pragma once
// Authentication and the start of collection: the network path drives the
// chain token -> initiate -> session key -> start-up report.
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include <quarra/Clock.hpp>
#include <quarra/Executor.hpp>

#include "collector/UserDataPayload.hpp"
#include "platform/BaseUrls.hpp"

namespace quarra {

class AccessTokenService;
class DeviceInfo;
class CollectionService;
class PathMonitor;
class SessionConfigServices;

class SessionStart : public std::enable_shared_from_this<SessionStart> {
public:
    using StringCompletion = std::function<void(const std::string&)>;
    using BoolCompletion = std::function<void(bool)>;
    // Delivers (visitorId, requestId, error) once the fingerprint run ends.
    using FingerprintResult = std::function<void(const std::optional<std::string>&, const std::optional<std::string>&,
                                                 const std::optional<std::string>&)>;

    struct Dependencies {
        std::shared_ptr<CollectionService> collector;
        std::shared_ptr<AccessTokenService> tokenService;
        std::shared_ptr<SessionConfigServices> sessionService;
        std::shared_ptr<PathMonitor> networkMonitor;
        std::function<DeviceFacts()> deviceFacts;
        BundleValues bundle;
        BaseUrls baseUrls;
        std::function<void(FingerprintResult)> collectFingerprint;  // empty: no fingerprint run
    };

    // The instance the library uses, built from the shared environment.
    static std::shared_ptr<SessionStart> shared();
    static std::shared_ptr<SessionStart> create(Dependencies dependencies);

    // Installs the path handler: a usable path runs token, initiate and
    // start; no path applies the cached configuration. The completion gets
    // the session key each time. An empty user name is refused.
    void authenticateUser(const std::string& userName, const std::string& secretKey, const std::string& customerName,
                          StringCompletion completion);
    void startCollection(BoolCompletion completion);

    const std::shared_ptr<PathMonitor>& networkMonitor() const { return deps_.networkMonitor; }

private:
    explicit SessionStart(Dependencies dependencies);
    void pathChanged(bool satisfied, const std::string& userName, const std::string& secretKey,
                     const std::string& customerName, const StringCompletion& completion);

    Dependencies deps_;
};

// One fingerprint run of the shared handler.
void collectSharedFingerprint(SessionStart::FingerprintResult result);

// The device facts of the start-up report, read now.
DeviceFacts currentDeviceFacts(const DeviceInfo& device, Clock::TimePoint now);

}  // namespace quarra
