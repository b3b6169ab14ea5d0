// quarra-exit-host: a host that ends the way many programs do, with reports
// still on their way. It signs in, waits until collection has started, hands
// in some reports, and returns from main, with or without shutting the
// library down first. The exit tests run it again and again.
//
//   quarra-exit-host PLATFORM_URL COLLECTOR_URL CA_FILE DATA_DIR REPORTS MODE
//
// MODE "return": return at once; "shutdown": shutdown(1 s) first. Public
// headers only, as a host has them. Prints one JSON line, just before main
// returns: {"started", "shutdownMs", "leavingMainAtNs"} (steady clock).
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <string>

#include <quarra/DataCollectorService.hpp>
#include <quarra/Options.hpp>
#include <quarra/PathMonitor.hpp>

namespace {

// The service runs on this machine: the path is always usable.
class AlwaysOnline final : public quarra::PathMonitor {
public:
    void start(Handler handler) override { handler(true); }
    void cancel() override {}
};

class Latch {
public:
    void open() {
        {
            std::lock_guard lock(mutex_);
            open_ = true;
        }
        changed_.notify_all();
    }
    bool waitFor(std::chrono::milliseconds timeout) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, timeout, [this] { return open_; });
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool open_ = false;
};

long long steadyNanoseconds() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 7) {
        std::fprintf(stderr, "usage: quarra-exit-host PLATFORM_URL COLLECTOR_URL CA_FILE DATA_DIR REPORTS MODE\n");
        return 2;
    }
    const std::string platform = argv[1], collector = argv[2], mode = argv[6];
    const int reports = std::stoi(argv[5]);

    quarra::Options options;
    options.appName = "exit-host";
    options.bundleIdentifier = "net.quarra.exit-host";
    options.origins = {platform, collector, collector, platform};
    options.caFile = argv[3];
    options.dataDirectory = argv[4];
    options.pathMonitor = std::make_shared<AlwaysOnline>();
    quarra::configure(options);
    auto& library = quarra::DataCollectorService::defaultService();

    auto started = std::make_shared<Latch>();
    library.authenticateUser("demo", "demo-secret", "Exit Host", {}, [started](bool) { started->open(); });
    const bool running = started->waitFor(std::chrono::seconds(20));
    for (int i = 0; i < reports; ++i) {
        library.sendUserEvents({{"event", "tap"}, {"index", std::to_string(i)}});
    }

    long long shutdownMs = -1;
    if (mode == "shutdown") {
        const auto begun = std::chrono::steady_clock::now();
        library.shutdown(std::chrono::seconds(1));
        shutdownMs = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - begun)
                         .count();
    }
    std::printf("{\"started\":%s,\"shutdownMs\":%lld,\"leavingMainAtNs\":%lld}\n", running ? "true" : "false",
                shutdownMs, steadyNanoseconds());
    std::fflush(stdout);
    return 0;
}
