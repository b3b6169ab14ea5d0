#pragma once
// What a host tells the library once, before first use.
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

// Origins (scheme, host and optional port, no trailing slash) of the service.
// The library appends its fixed paths ("/api/", "/api/data/collect/", ...).
struct ServiceOrigins {
    std::string platform = "https://platform.quarra-guard.net";
    std::string collector = "https://collect.quarra-guard.net";
    std::string certification = "https://cert-collect.quarra-guard.net";
    std::string log = "https://cert-collect.quarra-guard.net";
};

struct Options {
    // The bundle values of the host application.
    std::optional<std::string> appName;      // reported as "RudazeruVIV" when absent
    std::optional<std::string> appVersion;   // reported as "1.0" when absent
    std::string bundleIdentifier = "net.quarra.host";

    // Where the library keeps its files (configuration cache, secure store).
    // Empty: $XDG_DATA_HOME/<bundleIdentifier>, or ~/.local/share/<bundleIdentifier>.
    std::filesystem::path dataDirectory;

    // The main screen as the host's toolkit measures it, in points. A value
    // that is not a finite, non-negative number gives the default.
    double screenWidth = 390;
    double screenHeight = 844;
    // The user's preferred languages, most preferred first ("en-US"). Empty:
    // taken from the process locale (LANGUAGE, LC_ALL, LC_MESSAGES, LANG).
    std::vector<std::string> preferredLanguages;
    // The orientation of the main screen, asked for whenever a report carries
    // it (from any thread). Empty: unknown, as a desktop has no sensor.
    OrientationSource orientationSource;

    ServiceOrigins origins;
    std::string caFile;  // PEM bundle to trust for the service; empty: the system store

    // 32-byte key that seals the secure store. Empty: one is generated on
    // first use and kept in a key file (mode 0600) in the data directory.
    std::vector<unsigned char> secureStoreKey;

    // The host's user-interface queue. Absent: a library-owned serial queue "main".
    std::shared_ptr<Executor> mainExecutor;

    // Seam overrides; any left empty gets the Linux default.
    std::shared_ptr<HttpClient> httpClient;
    std::shared_ptr<Clock> clock;
    std::shared_ptr<ConsoleSink> console;
    std::shared_ptr<PathMonitor> pathMonitor;  // drives authentication; default: the system's (rtnetlink)
    std::shared_ptr<AccelerometerSource> accelerometerSource;  // default: IIO sysfs sensors
    std::shared_ptr<ReverseGeocoder> reverseGeocoder;          // default: offline world cities table
};

// Sets the options for the process-wide services. Call once, before any other
// call into the library; later calls are ignored (returns false).
bool configure(Options options);

}  // namespace quarra
