#include "platform/Environment.hpp"

#include <cstdlib>
#include <mutex>
#include <optional>

namespace quarra {
namespace {

std::mutex gConfigureMutex;
std::optional<Options> gPendingOptions;
bool gEnvironmentBuilt = false;

std::shared_ptr<Clock> orSystemClock(std::shared_ptr<Clock> clock) {
    return clock ? std::move(clock) : std::make_shared<SystemClock>();
}

}  // namespace

bool configure(Options options) {
    std::lock_guard lock(gConfigureMutex);
    if (gEnvironmentBuilt || gPendingOptions) return false;
    gPendingOptions = std::move(options);
    return true;
}

Environment& Environment::shared() {
    // Built on first use and never destroyed: the shared services outlive
    // static destruction order.
    static Environment* environment = [] {
        std::lock_guard lock(gConfigureMutex);
        gEnvironmentBuilt = true;
        return new Environment(gPendingOptions.value_or(Options{}));
    }();
    return *environment;
}

Environment::Environment(Options options)
    : options_(std::move(options)),
      baseUrls_(BaseUrls::from(options_.origins)),
      mainExecutor_(options_.mainExecutor ? options_.mainExecutor : makeSerialQueue("main")),
      ioExecutor_(makeSerialQueue("quarra-io")),
      httpClient_(options_.httpClient ? options_.httpClient
                                      : makeCurlHttpClient(CurlClientOptions{.caFile = options_.caFile})),
      clock_(orSystemClock(options_.clock)),
      console_(options_.console ? options_.console : makeStdoutSink(), clock_),
      dataDirectory_(options_.dataDirectory.empty() ? defaultDataDirectory(options_.bundleIdentifier)
                                                    : options_.dataDirectory) {}

std::filesystem::path defaultDataDirectory(const std::string& bundleIdentifier) {
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg) {
        return std::filesystem::path(xdg) / bundleIdentifier;
    }
    if (const char* home = std::getenv("HOME"); home && *home) {
        return std::filesystem::path(home) / ".local" / "share" / bundleIdentifier;
    }
    return std::filesystem::temp_directory_path() / bundleIdentifier;
}

}  // namespace quarra
