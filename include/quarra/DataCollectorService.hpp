#pragma once
// The library's entry point: authentication, reports, the session, and the
// library's lifecycle (flush, shutdown).
//
// Threads. The library runs its work on one worker thread of its own, its
// network traffic on one network thread, and (with the Linux path monitor)
// reads network changes on one more; a host that gives no main executor gets
// a library-owned main queue as well. Operations return at once unless their
// comment says they block; none is ever called back while the library holds
// a lock, and no exception reaches the caller. Each completion runs exactly
// once, on the thread its comment names.
//
// Lifetime. The shared instance lives for the whole process. A process that
// returns from main without calling shutdown() still exits at once: the
// library stops its threads at exit, without running further completions.
#include <chrono>
#include <cstdint>
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

class Engine;
class PathMonitor;

class DataCollectorService {
public:
    using BoolCompletion = std::function<void(bool)>;
    using StringCompletion = std::function<void(const std::string&)>;

    // The shared instance ("default"), built on first use from the options
    // given to configure() (or the defaults). Never blocks on the disk: the
    // secure store, the cache and the network are opened on the worker.
    static DataCollectorService& defaultService();

    // When true, starting collection and every send are refused (false). Any thread.
    bool ignoreDataCollection() const;
    void setIgnoreDataCollection(bool ignore);

    // Switches the "[DataCollector]" console lines on or off. Any thread.
    static void enableLogs(bool enabled);

    // Authenticates the account and opens a session. From then on every
    // change of the network path runs the chain again: with a usable path,
    // access token, initiate call, then the start of collection (a start-up
    // report); without one, the cached configuration. An empty user name is
    // refused with a console line and no completion.
    //
    // `completion` gets the session key each time ("" when there is none): on
    // the main executor after an online start, on the library's worker
    // offline. After an online completion the library starts collection;
    // `collectionStarted` then runs on the main executor with true once the
    // session key is in force and the start-up report has been handed over
    // (false when ignoreDataCollection refused the start). Reports sent
    // before that wait in the queue and go out after the next accepted
    // report; send from `collectionStarted` to have them go at once.
    //
    // Returns at once; the work happens on the worker.
    void authenticateUser(const std::string& userName, const std::string& secretKey, const std::string& customerName,
                          StringCompletion completion = {}, BoolCompletion collectionStarted = {});

    // The session key of the cached configuration (or "" from the default),
    // applied without any network traffic; the completion runs on the
    // calling thread. Blocks on the disk (the cache file).
    static void getSessionKey(StringCompletion completion);

    // The monitor that drives authentication.
    std::shared_ptr<PathMonitor> networkMonitor() const;

    // Sends one location report: the coordinate (degrees) with the place
    // names found for it offline. The completion gets true when the collector
    // accepted it; it runs on the library's worker.
    void sendLocationData(double latitude, double longitude, BoolCompletion completion = {});

    // Report operations. The dictionary is the report; the completion gets
    // true when the collector accepted it, false when the report was refused,
    // queued for a later resend, or dropped. Completions run on the library's
    // worker; after shutdown() they run at once, on the calling thread.
    void sendUserData(JSONDictionary data, BoolCompletion completion = {});
    void sendUserEvents(JSONDictionary data, BoolCompletion completion = {});
    void sendActivityStream(JSONDictionary data, BoolCompletion completion = {});
    void sendAccelerometerData(JSONDictionary data, BoolCompletion completion = {});

    // Blocks the calling thread until every report handed in before the call
    // has its final answer (accepted, refused, or queued after a failure) and
    // any resend pass has ended, or until `timeout` has passed. Returns
    // whether everything was answered. Called on one of the library's own
    // threads (from a completion) it returns false at once.
    bool flush(std::chrono::milliseconds timeout);

    // Stops accepting reports (later ones answer false at once, with a
    // console line), flushes for at most `timeout`, then ends the library's
    // threads: requests still on the wire are cancelled and their reports
    // queued, their completions run, and the threads are joined. Blocks for
    // at most about `timeout` and a short grace. Safe to call twice and from
    // any host thread; called on a library thread it returns false at once.
    // Returns whether the flush finished in time. There is no restart.
    bool shutdown(std::chrono::milliseconds timeout);

    // The delivery so far. Thread-safe; never blocks (it reads counters the
    // worker keeps; the outbox on disk is not touched). Once nothing is in
    // flight: submitted + restored == accepted + refused + queued + dropped.total().
    struct Health {
        enum class Session {
            none,              // no session key: reports wait in the outbox
            offlineFromCache,  // the cached configuration's key, no network: collection not started
            online,            // collection runs under the key the service handed out
        };
        struct Dropped {
            uint64_t disabledFeature = 0;  // the session's settings switch the report off
            uint64_t bound = 0;            // pushed out of a full outbox (count or size)
            uint64_t age = 0;              // waited longer than seven days
            uint64_t unreadable = 0;       // left by an earlier process, no longer readable
            uint64_t notSerialisable = 0;  // cannot be written as JSON
            uint64_t total() const { return disabledFeature + bound + age + unreadable + notSerialisable; }
        };
        struct Error {
            std::string operation;  // "accessToken", "initiate" or "collector"
            std::string code;       // the HTTP status, or the service's code; "-1" when no answer came
            std::string text;       // what went wrong (never a secret)
            std::chrono::system_clock::time_point time;
        };

        uint64_t submitted = 0;     // reports handed in by this process
        uint64_t restored = 0;      // reports an earlier process left in the outbox
        uint64_t accepted = 0;      // accepted by the collector, on the first send or a resend
        uint64_t refused = 0;       // answered false unsent: collection ignored, or shut down
        uint64_t queued = 0;        // waiting in the outbox to be sent again
        uint64_t queuedBytes = 0;   // what they take there (sealed)
        uint64_t inFlight = 0;      // handed in and not yet answered
        Dropped dropped;
        uint64_t resendPasses = 0;  // resend passes started
        std::optional<Error> lastError;
        std::optional<std::chrono::system_clock::time_point> lastAccepted;
        Session session = Session::none;
    };
    Health health() const;

private:
    friend class Engine;
    explicit DataCollectorService(Engine& engine);
    Engine& engine_;
};

}  // namespace quarra
