#pragma once
// The library's entry point: authentication, reports, the session.
//
// Every operation returns at once; network work happens on the library's own
// threads. Completions run on the thread named in each comment; none is ever
// called while the library holds a lock, and no exception reaches the caller.
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include <quarra/Json.hpp>

namespace quarra {

enum class Region { US, APAC };
const char* regionName(Region region);  // "US" or "APAC"

// Settings handed to the fingerprint data source.
struct QuarraFPJSConfiguration {
    Region dcRegion = Region::US;
    bool sandboxEnabled = true;
    std::optional<std::string> region;
};

class CollectionService;
class PathMonitor;

class DataCollectorService {
public:
    using BoolCompletion = std::function<void(bool)>;
    using StringCompletion = std::function<void(const std::string&)>;

    // The shared instance ("default"), created on first use and never released.
    static DataCollectorService& defaultService();

    // When true, starting collection and every send are refused (false).
    bool ignoreDataCollection() const;
    void setIgnoreDataCollection(bool ignore);

    // Switches the "[DataCollector]" console lines on or off.
    static void enableLogs(bool enabled);

    // Authenticates the account and opens a session. From then on every
    // change of the network path runs the chain again: with a usable path,
    // access token, initiate call, then the start of collection (a start-up
    // report); without one, the cached configuration. The completion gets the
    // session key each time ("" when there is none), on the main executor
    // after an online start, on the path monitor's queue offline. An empty
    // user name is refused with a console line and no completion.
    void authenticateUser(const std::string& userName, const std::string& secretKey, const std::string& customerName,
                          StringCompletion completion = {});

    // The session key of the cached configuration (or "" from the default),
    // applied without any network traffic; the completion runs on the
    // calling thread. May read the disk.
    static void getSessionKey(StringCompletion completion);

    // The monitor that drives authentication.
    std::shared_ptr<PathMonitor> networkMonitor() const;

    // Sends one location report: the coordinate (degrees) with the place
    // names found for it offline. The completion gets true when the collector
    // accepted it; it runs on the HTTP client's thread (or the geocoder's,
    // when the report is refused before any network work).
    void sendLocationData(double latitude, double longitude, BoolCompletion completion = {});

    // Report operations. The dictionary is the report; the completion gets
    // true when the collector accepted it. Completions run on the HTTP
    // client's callback thread (or at once, on the caller's thread, when the
    // report is refused or queued before any network work).
    void sendUserData(JSONDictionary data, BoolCompletion completion = {});
    void sendUserEvents(JSONDictionary data, BoolCompletion completion = {});
    void sendActivityStream(JSONDictionary data, BoolCompletion completion = {});
    void sendAccelerometerData(JSONDictionary data, BoolCompletion completion = {});

    // The collection service behind this facade (for the library's own parts).
    const std::shared_ptr<CollectionService>& core() const { return core_; }

    explicit DataCollectorService(std::shared_ptr<CollectionService> core);

private:
    std::shared_ptr<CollectionService> core_;
};

}  // namespace quarra
