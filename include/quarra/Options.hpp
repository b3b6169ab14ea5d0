#pragma once
/**
 * @file
 * @brief What a host tells the library once, before first use.
 */
#include <quarra/Export.hpp>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <quarra/AccelerometerSource.hpp>
#include <quarra/Clock.hpp>
#include <quarra/Console.hpp>
#include <quarra/DeviceOrientation.hpp>
#include <quarra/Executor.hpp>
#include <quarra/HttpClient.hpp>
#include <quarra/PathMonitor.hpp>
#include <quarra/ReverseGeocoder.hpp>

namespace quarra {

/**
 * @brief Origins (scheme, host and optional port, no trailing slash) of the service.
 *
 * The library appends its fixed paths ("/api/", "/api/data/collect/", ...);
 * trailing slashes are removed first.
 *
 * @par Thread
 * Any thread; it shares nothing.
 * @par Lifetime
 * A value type; copy freely.
 * @par Blocking
 * Never blocks.
 */
struct QUARRA_API ServiceOrigins {
    std::string platform = "https://platform.quarra-guard.net";          ///< Sign-in, configuration and transactions.
    std::string collector = "https://collect.quarra-guard.net";          ///< The production collector of reports.
    std::string certification = "https://cert-collect.quarra-guard.net";  ///< The certification collector of reports.
    std::string log = "https://cert-collect.quarra-guard.net";           ///< Where the library's server log records go.
};

/**
 * @brief Everything configure() takes: the host's identity, files, screen, service and seams.
 *
 * Every member has a working default; a host sets what differs.
 *
 * @par Thread
 * Any thread; it shares nothing until handed to configure().
 * @par Lifetime
 * A value type; configure() takes it by value. The library keeps every seam
 * given here (executor, clients, sources) for the rest of the process.
 * @par Blocking
 * Never blocks.
 */
struct QUARRA_API Options {
    /// The host application's name; reported as "RudazeruVIV" when absent.
    std::optional<std::string> appName;
    /// The host application's version; reported as "1.0" when absent.
    std::optional<std::string> appVersion;
    /// The host application's bundle identifier; names the data directory and the standard secure store's service.
    std::string bundleIdentifier = "net.quarra.host";

    /// Where the library keeps its files (configuration cache, secure store, outbox).
    /// Empty: `$XDG_DATA_HOME/<bundleIdentifier>`, or `~/.local/share/<bundleIdentifier>`.
    std::filesystem::path dataDirectory;

    /// The main screen's width as the host's toolkit measures it, in points; a value that is not finite and non-negative gives the default.
    double screenWidth = 390;
    /// The main screen's height, in points; a value that is not finite and non-negative gives the default.
    double screenHeight = 844;
    /// The user's preferred languages, most preferred first ("en-US"). Empty:
    /// taken from the process locale (LANGUAGE, LC_ALL, LC_MESSAGES, LANG).
    std::vector<std::string> preferredLanguages;
    /// The orientation of the main screen, asked for whenever a report carries
    /// it (from any thread). Empty: unknown, as a desktop has no sensor.
    OrientationSource orientationSource;

    /// Where the service lives.
    ServiceOrigins origins;
    /// PEM bundle to trust for the service; empty: the system store. Used by the library's own HTTP client only.
    std::string caFile;

    /// 32-byte key that seals the secure store and the outbox. Empty: one is
    /// generated on first use and kept in a key file (mode 0600) in the data directory.
    std::vector<unsigned char> secureStoreKey;

    /// The host's user-interface queue: completions named "main executor" and
    /// the tracking controls' timers run there. Absent: a library-owned
    /// serial queue "quarra-main".
    std::shared_ptr<Executor> mainExecutor;

    /**
     * @name Seam overrides
     * Any left empty gets the Linux default. The library keeps each for the
     * rest of the process.
     */
    //@{
    std::shared_ptr<HttpClient> httpClient;                    ///< Default: the libcurl client (makeCurlHttpClient()).
    std::shared_ptr<Clock> clock;                              ///< Default: SystemClock.
    std::shared_ptr<ConsoleSink> console;                      ///< Default: standard output.
    std::shared_ptr<PathMonitor> pathMonitor;                  ///< Drives authentication; default: the system's (rtnetlink).
    std::shared_ptr<AccelerometerSource> accelerometerSource;  ///< Default: IIO sysfs sensors.
    std::shared_ptr<ReverseGeocoder> reverseGeocoder;          ///< Default: offline world cities table.
    //@}
};

/**
 * @brief Sets the options for the process-wide services.
 *
 * Call once, before any other call into the library; later calls, and a call
 * after the library was built by a first use, are ignored.
 *
 * @return Whether the options were taken.
 * @par Thread
 * Any thread.
 * @par Lifetime
 * The options are kept until the library is built by its first use, and
 * their seams from then on for the rest of the process.
 * @par Blocking
 * Never blocks (it only stores the options; nothing is opened or started).
 */
QUARRA_API bool configure(Options options);

}  // namespace quarra
