#pragma once
/**
 * @file
 * @brief The library's entry point: authentication, reports, the session, and
 * the library's lifecycle (flush, shutdown).
 *
 * Threads. The library runs its work on one worker thread of its own, its
 * network traffic on one network thread, and (with the Linux path monitor)
 * reads network changes on one more; a host that gives no main executor gets
 * a library-owned main queue as well. Operations return at once unless their
 * documentation says they block; none is ever called back while the library
 * holds a lock, and no exception reaches the caller. Each completion runs
 * exactly once, on the thread its documentation names.
 *
 * Lifetime. The shared instance lives for the whole process. A process that
 * returns from main without calling shutdown() still exits at once: the
 * library stops its threads at exit, without running further completions.
 */
#include <quarra/Export.hpp>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include <quarra/Json.hpp>

/**
 * @brief Everything the library offers a host.
 *
 * Start with configure() and DataCollectorService::defaultService(); the
 * transaction interface is QuarraManager, and the toolkit-neutral tracking
 * controls are TrackingButton, TrackingTextField and their neighbours.
 */
namespace quarra {

/// The data centre region of the fingerprint service.
enum class Region {
    US,    ///< The United States region ("US").
    APAC   ///< The Asia-Pacific region ("APAC").
};

/**
 * @brief The region's name: "US" or "APAC".
 *
 * @par Thread
 * Any thread.
 * @par Lifetime
 * The text is static: valid for the whole process.
 * @par Blocking
 * Never blocks.
 */
QUARRA_API const char* regionName(Region region);

/**
 * @brief Settings handed to the fingerprint data source.
 *
 * The library uses the defaults below; no call of the public interface takes
 * or returns one.
 *
 * @par Thread
 * Any thread; it shares nothing.
 * @par Lifetime
 * A value type; copy freely.
 * @par Blocking
 * Never blocks.
 */
struct QUARRA_API QuarraFPJSConfiguration {
    Region dcRegion = Region::US;       ///< The fingerprint service's data centre.
    bool sandboxEnabled = true;         ///< Whether the sandbox environment is used.
    std::optional<std::string> region;  ///< A region name; none by default.
};

class Engine;
class PathMonitor;

/**
 * @brief The library's facade: sign-in, reports, delivery health, flush and shutdown.
 *
 * A host uses the one shared instance, defaultService(); it cannot make
 * others.
 *
 * @par Thread
 * Every member may be called from any host thread, concurrently. Work is
 * handed to the library's worker and the call returns; each member says where
 * its completion runs. flush() and shutdown() called on one of the library's
 * own threads (from a completion) return false at once.
 * @par Lifetime
 * The shared instance lives for the whole process and is never destroyed.
 * Completions are kept until they have run, exactly once. After shutdown()
 * calls still return at once: reports answer false on the calling thread,
 * and authenticateUser() only writes a console line.
 * @par Blocking
 * Only flush(), shutdown() and getSessionKey() block; every other member
 * returns at once.
 */
class QUARRA_API DataCollectorService {
public:
    /// Answer of a report or of the start of collection: true when it succeeded.
    using BoolCompletion = std::function<void(bool)>;
    /// Answer carrying a session key ("" when there is none).
    using StringCompletion = std::function<void(const std::string&)>;

    /**
     * @brief The shared instance ("default").
     *
     * Built on first use from the options given to configure() (or the
     * defaults); a configure() after that is ignored.
     *
     * @par Thread
     * Any thread; the first use from several threads at once builds it once.
     * @par Lifetime
     * The instance lives for the whole process; keep the reference freely.
     * @par Blocking
     * Never blocks on the disk: the secure store, the cache and the network
     * are opened on the worker. The first call starts the library's worker
     * thread (and its own main queue when the host gave no main executor).
     */
    static DataCollectorService& defaultService();

    /**
     * @brief Whether starting collection and every send are refused.
     *
     * While true, reports answer false without being sent.
     *
     * @par Thread
     * Any thread.
     * @par Lifetime
     * Keeps nothing.
     * @par Blocking
     * Never blocks.
     */
    bool ignoreDataCollection() const;
    /**
     * @brief Sets ignoreDataCollection(); reports handed in later see the new value.
     *
     * @par Thread
     * Any thread.
     * @par Lifetime
     * The setting lasts until changed again (it is not stored on disk).
     * @par Blocking
     * Never blocks.
     */
    void setIgnoreDataCollection(bool ignore);

    /**
     * @brief Switches the "[DataCollector]" console lines on or off, as quarra::enableLogs().
     *
     * @par Thread
     * Any thread.
     * @par Lifetime
     * The switch is process-wide and lasts until changed again.
     * @par Blocking
     * Never blocks.
     */
    static void enableLogs(bool enabled);

    /**
     * @brief Authenticates the account and opens a session.
     *
     * From then on every change of the network path runs the chain again:
     * with a usable path, access token, initiate call, then the start of
     * collection (a start-up report); without one, the cached configuration.
     * An empty user name is refused with a console line and no completion.
     *
     * `completion` gets the session key each time ("" when there is none).
     * After an online completion the library starts collection;
     * `collectionStarted` then gets true once the session key is in force and
     * the start-up report has been handed over (false when
     * ignoreDataCollection() refused the start). Reports sent before that
     * wait in the queue and go out after the next accepted report; send from
     * `collectionStarted` to have them go at once.
     *
     * @par Thread
     * Any thread. `completion` runs on the main executor after an online
     * start, on the library's worker offline; `collectionStarted` runs on the
     * main executor.
     * @par Lifetime
     * The account and both completions are kept while the session runs (a
     * later call replaces them) and are used again on every path change,
     * until shutdown(). After shutdown() the call only writes a console line:
     * no completion runs.
     * @par Blocking
     * Returns at once; the work happens on the worker.
     */
    void authenticateUser(const std::string& userName, const std::string& secretKey, const std::string& customerName,
                          StringCompletion completion = {}, BoolCompletion collectionStarted = {});

    /**
     * @brief The session key of the cached configuration (or "" from the default).
     *
     * The cached configuration is applied without any network traffic.
     *
     * @par Thread
     * Any thread; the completion runs on the calling thread, before the call
     * returns.
     * @par Lifetime
     * The completion is not kept after the call.
     * @par Blocking
     * Blocks on the disk (reads the cache file).
     */
    static void getSessionKey(StringCompletion completion);

    /**
     * @brief The monitor that drives authentication (Options::pathMonitor, or the system's).
     *
     * @par Thread
     * Any thread.
     * @par Lifetime
     * The library keeps the monitor for the whole process and cancels it at
     * shutdown(); the pointer returned shares ownership.
     * @par Blocking
     * Never blocks.
     */
    std::shared_ptr<PathMonitor> networkMonitor() const;

    /**
     * @brief Sends one location report: the coordinate (degrees) with the place names found for it offline.
     *
     * @par Thread
     * Any thread. The completion gets true when the collector accepted the
     * report; it runs on the library's worker (after shutdown(): at once, on
     * the calling thread, with false).
     * @par Lifetime
     * The completion is kept until it has run, exactly once.
     * @par Blocking
     * Returns at once; geocoding and sending happen on the worker.
     */
    void sendLocationData(double latitude, double longitude, BoolCompletion completion = {});

    /**
     * @name Reports
     * The dictionary is the report; the completion gets true when the
     * collector accepted it, false when the report was refused, queued for a
     * later resend, or dropped.
     *
     * @par Thread
     * Any thread. Completions run on the library's worker; after shutdown()
     * they run at once, on the calling thread.
     * @par Lifetime
     * The report is moved into the library; the completion is kept until it
     * has run, exactly once. A report queued after a failure stays in the
     * outbox on disk (across restarts) for up to seven days.
     * @par Blocking
     * Return at once; the work happens on the worker.
     */
    //@{
    /// Sends a user-data report (the kind the start of collection sends); it goes out also without a session key.
    void sendUserData(JSONDictionary data, BoolCompletion completion = {});
    /// Sends a user-events report (taps, screen visits).
    void sendUserEvents(JSONDictionary data, BoolCompletion completion = {});
    /// Sends an activity-stream report (editing and picker periods).
    void sendActivityStream(JSONDictionary data, BoolCompletion completion = {});
    /// Sends an accelerometer report.
    void sendAccelerometerData(JSONDictionary data, BoolCompletion completion = {});
    //@}

    /**
     * @brief Waits until every report handed in before the call has its final answer.
     *
     * The final answer is accepted, refused, or queued after a failure; any
     * resend pass must have ended as well. After shutdown() it returns true at
     * once.
     *
     * @return Whether everything was answered within `timeout`.
     * @par Thread
     * Any host thread. Called on one of the library's own threads (from a
     * completion) it returns false at once.
     * @par Lifetime
     * Keeps nothing after it returns.
     * @par Blocking
     * Blocks the calling thread for at most `timeout`.
     */
    bool flush(std::chrono::milliseconds timeout);

    /**
     * @brief Delivers what it can, then ends the library's threads. There is no restart.
     *
     * Stops accepting reports (later ones answer false at once, with a
     * console line), flushes for at most `timeout`, then ends the library's
     * threads: requests still on the wire are cancelled and their reports
     * queued, their completions run, and the threads are joined.
     *
     * @return Whether the flush finished in time; true for a call after the
     * library has already shut down.
     * @par Thread
     * Any host thread; safe to call twice, also concurrently (the second call
     * waits for the first). Called on a library thread it returns false at once.
     * @par Lifetime
     * The shared instance stays valid after it; every later call answers at
     * once (see the class). Seams the host supplied (executor, HTTP client,
     * accelerometer) are not stopped; the path monitor is cancelled.
     * @par Blocking
     * Blocks for at most about `timeout` and a short grace: a library thread
     * that does not end within about a second (a completion that never
     * returns) is left behind.
     */
    bool shutdown(std::chrono::milliseconds timeout);

    /**
     * @brief The delivery so far.
     *
     * Once nothing is in flight:
     * submitted + restored == accepted + refused + queued + dropped.total().
     *
     * @par Thread
     * Any thread; it shares nothing.
     * @par Lifetime
     * A value type; copy freely.
     * @par Blocking
     * Never blocks.
     */
    struct QUARRA_API Health {
        /// Which session key reports are sent under.
        enum class Session {
            none,              ///< No session key: reports wait in the outbox.
            offlineFromCache,  ///< The cached configuration's key, no network: collection not started.
            online,            ///< Collection runs under the key the service handed out.
        };
        /// Reports that will never be delivered, by reason.
        struct QUARRA_API Dropped {
            uint64_t disabledFeature = 0;  ///< The session's settings switch the report off.
            uint64_t bound = 0;            ///< Pushed out of a full outbox (count or size).
            uint64_t age = 0;              ///< Waited longer than seven days.
            uint64_t unreadable = 0;       ///< Left by an earlier process, no longer readable.
            uint64_t notSerialisable = 0;  ///< Cannot be written as JSON.
            /// The sum of every reason.
            uint64_t total() const { return disabledFeature + bound + age + unreadable + notSerialisable; }
        };
        /// The last failure of a request to the service.
        struct QUARRA_API Error {
            std::string operation;  ///< "accessToken", "initiate" or "collector".
            std::string code;       ///< The HTTP status, or the service's code; "-1" when no answer came.
            std::string text;       ///< What went wrong (never a secret).
            std::chrono::system_clock::time_point time;  ///< When it failed (Options::clock).
        };

        uint64_t submitted = 0;     ///< Reports handed in by this process.
        uint64_t restored = 0;      ///< Reports an earlier process left in the outbox.
        uint64_t accepted = 0;      ///< Accepted by the collector, on the first send or a resend.
        uint64_t refused = 0;       ///< Answered false unsent: collection ignored, or shut down.
        uint64_t queued = 0;        ///< Waiting in the outbox to be sent again.
        uint64_t queuedBytes = 0;   ///< What they take there (sealed).
        uint64_t inFlight = 0;      ///< Handed in and not yet answered.
        Dropped dropped;            ///< Reports given up, by reason.
        uint64_t resendPasses = 0;  ///< Resend passes started.
        std::optional<Error> lastError;  ///< The most recent failure, if any.
        std::optional<std::chrono::system_clock::time_point> lastAccepted;  ///< When a report was last accepted.
        Session session = Session::none;  ///< The session reports are sent under now.
    };
    /**
     * @brief A snapshot of the delivery so far (see Health).
     *
     * @par Thread
     * Any thread.
     * @par Lifetime
     * The snapshot is the caller's own copy.
     * @par Blocking
     * Never touches the disk and never waits for the worker: it reads
     * counters the worker publishes.
     */
    Health health() const;

private:
    friend class Engine;
    explicit DataCollectorService(Engine& engine);
    Engine& engine_;
};

}  // namespace quarra
