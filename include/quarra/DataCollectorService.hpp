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
