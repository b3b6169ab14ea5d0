// quarra-service: a local HTTPS stand-in for the fraud-prevention service.
// Start-up order: arguments, settings, data directory, certificates, store,
// then the server on 127.0.0.1; the first stdout line tells clients where.
#include <pthread.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <thread>

#include <httplib.h>
#include <nlohmann/json.hpp>

#include "Arguments.hpp"
#include "Certificates.hpp"
#include "DebuggerServer.hpp"
#include "Server.hpp"

namespace fs = std::filesystem;
using namespace quarra::service;

namespace {

// The exit code when the port asked for is taken.
constexpr int kExitPortInUse = 3;

// Sent by the listener thread to the main thread when it ends on its own.
constexpr int kListenerEnded = SIGUSR1;

int fail(const std::string& message, int code = 1) {
    std::fprintf(stderr, "quarra-service: %s\n", message.c_str());
    return code;
}

sigset_t shutdownSignals() {
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    sigaddset(&signals, kListenerEnded);
    return signals;
}

std::variant<fs::path, std::string> prepareDataDirectory(const fs::path& given) {
    std::error_code error;
    auto directory = fs::absolute(given, error);
    if (error) return "cannot resolve " + given.string() + ": " + error.message();
    fs::create_directories(directory, error);
    if (error) return "cannot create " + directory.string() + ": " + error.message();
    // The directory holds private keys.
    ::chmod(directory.c_str(), 0700);
    return directory.lexically_normal();
}

int run(const Arguments& arguments, const sigset_t& signals) {
    ServiceSettings settings;
    if (arguments.configFile) {
        auto loaded = loadSettings(*arguments.configFile);
        if (auto* problem = std::get_if<std::string>(&loaded)) return fail(*problem, 2);
        settings = std::get<ServiceSettings>(std::move(loaded));
    }

    auto prepared = prepareDataDirectory(arguments.dataDirectory);
    if (auto* problem = std::get_if<std::string>(&prepared)) return fail(*problem);
    auto directory = std::get<fs::path>(prepared);

    auto certificates = ensureCertificates(directory);
    if (auto* problem = std::get_if<std::string>(&certificates)) return fail(*problem);
    const auto& files = std::get<CertificateFiles>(certificates);

    std::unique_ptr<Storage> storage;
    try {
        storage = std::make_unique<Storage>(directory / "quarra-service.sqlite");
    } catch (const std::exception& error) {
        return fail(std::string("cannot open the store: ") + error.what());
    }
    Accounts accounts(arguments.accounts, settings.tokenLifetime);
    Faults faults;
    EventFeed feed;

    httplib::SSLServer server(files.serverCertificate.c_str(), files.serverKey.c_str());
    if (!server.is_valid()) return fail("cannot load the server certificate or key");
    // Not SO_REUSEPORT (the library's default): a second service on a port
    // in use must be refused, not share it. Answers go out without waiting
    // for a delayed ACK.
    server.set_socket_options([](socket_t socket) {
        int on = 1;
        ::setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    });
    server.set_tcp_nodelay(true);
    int port = arguments.port;
    errno = 0;
    if (port == 0) {
        port = server.bind_to_any_port("127.0.0.1");
    } else if (!server.bind_to_port("127.0.0.1", port)) {
        port = -1;
    }
    if (port <= 0 && errno == EADDRINUSE) {
        return fail("port " + std::to_string(arguments.port) +
                        " on 127.0.0.1 is in use (another quarra-service?); pick another with --port, or 0 for a free one",
                    kExitPortInUse);
    }
    if (port <= 0) return fail("cannot listen on 127.0.0.1:" + std::to_string(arguments.port));

    ServiceContext context{settings, "https://127.0.0.1:" + std::to_string(port), *storage, accounts, faults, feed};
    configureServer(server, context, !arguments.quiet);

    // Plain HTTP, so that a browser needs no CA; 127.0.0.1 only, like the service.
    httplib::Server debugger;
    int debuggerPort = 0;
    if (arguments.debugger) {
        debugger.set_socket_options([](socket_t socket) {
            int on = 1;
            ::setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
        });
        errno = 0;
        debuggerPort = arguments.debuggerPort == 0 ? debugger.bind_to_any_port("127.0.0.1")
                       : debugger.bind_to_port("127.0.0.1", arguments.debuggerPort) ? arguments.debuggerPort
                                                                                     : -1;
        if (debuggerPort <= 0 && errno == EADDRINUSE) {
            return fail("debugger port " + std::to_string(arguments.debuggerPort) +
                            " on 127.0.0.1 is in use; pick another with --debugger-port, or 0 for a free one",
                        kExitPortInUse);
        }
        if (debuggerPort <= 0) return fail("cannot listen on 127.0.0.1:" + std::to_string(arguments.debuggerPort));
        configureDebugger(debugger, context, feed, debuggerPort);
    }

    auto announced = nlohmann::json{{"url", context.baseUrl}, {"caFile", files.caCertificate.string()}};
    if (arguments.debugger) announced["debuggerUrl"] = "http://127.0.0.1:" + std::to_string(debuggerPort) + "/";
    auto firstLine = announced.dump();
    std::printf("%s\n", firstLine.c_str());
    std::fflush(stdout);

    std::atomic<bool> stopping{false};
    std::atomic<int> listening{arguments.debugger ? 2 : 1};
    pthread_t mainThread = pthread_self();
    std::thread listener([&] {
        server.listen_after_bind();
        listening.fetch_sub(1);
        if (!stopping.load()) pthread_kill(mainThread, kListenerEnded);
    });
    std::thread debuggerListener([&] {
        if (!arguments.debugger) return;
        debugger.listen_after_bind();
        listening.fetch_sub(1);
        if (!stopping.load()) pthread_kill(mainThread, kListenerEnded);
    });

    int received = 0;
    sigwait(&signals, &received);
    stopping.store(true);
    faults.stopWaiting();
    // Streams end first: the debugger's stop waits for its threads.
    feed.close();
    // A signal that came before a listener thread got to listening would find
    // nothing to stop: stop again until both listeners have returned.
    while (listening.load() > 0) {
        server.stop();
        debugger.stop();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    listener.join();
    debuggerListener.join();
    if (received == kListenerEnded) return fail("the server stopped unexpectedly");
    std::fprintf(stderr, "quarra-service: stopped on %s\n", strsignal(received));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    // A client that goes away mid-answer must not end the process; and the
    // shutdown signals are taken by sigwait only, in every thread.
    ::signal(SIGPIPE, SIG_IGN);
    sigset_t signals = shutdownSignals();
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);

    auto parsed = parseArguments(std::vector<std::string>(argv + 1, argv + argc));
    if (auto* problem = std::get_if<std::string>(&parsed)) {
        std::fprintf(stderr, "quarra-service: %s\n%s", problem->c_str(), usageText().c_str());
        return 2;
    }
    const auto& arguments = std::get<Arguments>(parsed);
    if (arguments.help) {
        std::printf("%s", usageText().c_str());
        return 0;
    }
    if (arguments.version) {
        std::printf("quarra-service %s\n", QUARRA_SERVICE_VERSION);
        return 0;
    }
    try {
        return run(arguments, signals);
    } catch (const std::exception& error) {
        return fail(std::string("unexpected error: ") + error.what());
    }
}
