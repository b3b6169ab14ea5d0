// quarra-host-example: the smallest host of the library. It signs in to the
// service, hands in one report once collection has started, waits for the
// answer, flushes and shuts the library down.
//
//   quarra-host-example SERVICE_URL CA_FILE DATA_DIR MARKER
//
// SERVICE_URL serves every part of the service (a local quarra-service does).
// The report carries MARKER, so whoever checks the service can find it.
// Prints the session key and the version; exit status 0 when the collector
// accepted the report.
#include <chrono>
#include <cstdio>
#include <future>
#include <memory>
#include <string>
#include <utility>

#include <quarra/DataCollectorService.hpp>
#include <quarra/Options.hpp>
#include <quarra/Version.hpp>

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: quarra-host-example SERVICE_URL CA_FILE DATA_DIR MARKER\n");
        return 2;
    }
    const std::string service = argv[1];

    quarra::Options options;
    options.appName = "host-example";
    options.bundleIdentifier = "net.quarra.host-example";
    options.origins = {service, service, service, service};
    options.caFile = argv[2];
    options.dataDirectory = argv[3];
    quarra::configure(options);
    auto& library = quarra::DataCollectorService::defaultService();

    // Completions run on the library's threads: hand their values over.
    auto sessionKey = std::make_shared<std::promise<std::string>>();
    auto started = std::make_shared<std::promise<bool>>();
    library.authenticateUser(
        "demo", "demo-secret", "Host Example",
        [sessionKey, once = std::make_shared<bool>(false)](const std::string& key) {
            if (!std::exchange(*once, true)) sessionKey->set_value(key);
        },
        [started, once = std::make_shared<bool>(false)](bool collecting) {
            if (!std::exchange(*once, true)) started->set_value(collecting);
        });
    auto startedFuture = started->get_future();
    if (startedFuture.wait_for(std::chrono::seconds(20)) != std::future_status::ready || !startedFuture.get()) {
        std::fprintf(stderr, "collection did not start\n");
        return 1;
    }

    auto accepted = std::make_shared<std::promise<bool>>();
    library.sendUserEvents({{"event", "consumer"}, {"marker", argv[4]}},
                           [accepted](bool ok) { accepted->set_value(ok); });
    auto acceptedFuture = accepted->get_future();
    const bool delivered = acceptedFuture.wait_for(std::chrono::seconds(20)) == std::future_status::ready &&
                           acceptedFuture.get();
    library.flush(std::chrono::seconds(5));
    library.shutdown(std::chrono::seconds(2));

    std::printf("{\"sessionKey\":\"%s\",\"accepted\":%s,\"version\":\"%s\",\"headers\":\"%s\"}\n",
                sessionKey->get_future().get().c_str(), delivered ? "true" : "false", quarra::versionString(),
                quarra::kVersion);
    return delivered ? 0 : 1;
}
