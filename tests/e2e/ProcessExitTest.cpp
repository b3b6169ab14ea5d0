// How a host process ends with reports still on their way: returning from
// main with or without a shutdown, with the collector answering or not.
// Each case runs the real program shape many times.
#include <gtest/gtest.h>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <string>

#include "LocalService.hpp"
#include "StoredReports.hpp"
#include "support/ProgramRun.hpp"

namespace quarra::e2e {
namespace {

using std::chrono::milliseconds;

// Sanitizers check the whole heap when the process ends; that is not the
// library's exit.
// The shutdown's own work after its time-out: cancelling, the last answers,
// joining the threads.
#ifdef QUARRA_SANITIZED
constexpr milliseconds kExitLimit{1500};
constexpr long long kShutdownLimitMs = 1600;
#else
constexpr milliseconds kExitLimit{100};
constexpr long long kShutdownLimitMs = 1100;
#endif

// A collector that takes connections and never says a word: requests stay
// on the wire until something gives up on them.
class SilentListener {
public:
    SilentListener() {
        fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (fd_ < 0 || ::bind(fd_, reinterpret_cast<sockaddr*>(&address), length) != 0 || ::listen(fd_, 128) != 0 ||
            ::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
            return;
        }
        port_ = ntohs(address.sin_port);
    }
    ~SilentListener() {
        if (fd_ >= 0) ::close(fd_);
    }
    SilentListener(const SilentListener&) = delete;
    SilentListener& operator=(const SilentListener&) = delete;

    std::string url() const { return "https://127.0.0.1:" + std::to_string(port_); }
    bool ready() const { return port_ != 0; }

private:
    int fd_ = -1;
    int port_ = 0;
};

struct HostRun {
    int exitCode = -1;
    Json line;               // what the host printed before leaving main
    milliseconds exitTime{}; // from leaving main to the process having ended
    std::string errorOutput;
};

HostRun runHost(const LocalService& service, const std::string& collectorUrl, int reports, const std::string& mode,
                const std::string& label) {
    auto data = service.workDirectory() / label;
    auto run = testing::runProgram(QUARRA_EXIT_HOST_BINARY,
                                   {service.url(), collectorUrl, service.caFile(), data.string(),
                                    std::to_string(reports), mode},
                                   service.workDirectory(), label, std::chrono::seconds(60));
    HostRun result;
    result.exitCode = run.exitCode;
    result.errorOutput = run.errorOutput;
    if (!run.outputLines.empty()) result.line = Json::parse(run.outputLines.back(), nullptr, false);
    if (result.line.is_object() && result.line.contains("leavingMainAtNs")) {
        const auto leaving = std::chrono::steady_clock::time_point(
            std::chrono::nanoseconds(result.line["leavingMainAtNs"].get<long long>()));
        result.exitTime = std::chrono::duration_cast<milliseconds>(run.ended - leaving);
    }
    return result;
}

TEST(ProcessExit, ReturningFromMainWithReportsInFlightEndsCleanlyAndAtOnce) {
    LocalService service;
    ASSERT_TRUE(service.started()) << service.startupProblem();
    for (int run = 0; run < 20; ++run) {
        auto host = runHost(service, service.url(), 20, "return", "return-" + std::to_string(run));
        EXPECT_EQ(host.exitCode, 0) << "run " << run << "\n" << host.errorOutput;
        EXPECT_EQ(host.line["started"], true) << "run " << run;
        EXPECT_LT(host.exitTime, kExitLimit) << "run " << run;
    }
}

TEST(ProcessExit, AShutdownDeliversWhatItCanBeforeTheProcessEnds) {
    LocalService service;
    ASSERT_TRUE(service.started()) << service.startupProblem();
    auto host = runHost(service, service.url(), 25, "shutdown", "shutdown-delivers");
    ASSERT_EQ(host.exitCode, 0) << host.errorOutput;
    auto sessions = service.sessions();
    ASSERT_EQ(sessions.size(), 1u);
    auto detail = service.session(sessions[0]["id"].get<std::string>());
    EXPECT_EQ(storedReports(detail, "events").size(), 25u);
    EXPECT_EQ(storedReports(detail, "userData").size(), 1u);
}

TEST(ProcessExit, ASilentCollectorHoldsNeitherTheShutdownNorTheExit) {
    LocalService service;
    ASSERT_TRUE(service.started()) << service.startupProblem();
    SilentListener collector;
    ASSERT_TRUE(collector.ready());
    for (int run = 0; run < 5; ++run) {
        auto withShutdown = runHost(service, collector.url(), 10, "shutdown", "silent-shutdown-" + std::to_string(run));
        EXPECT_EQ(withShutdown.exitCode, 0) << withShutdown.errorOutput;
        EXPECT_EQ(withShutdown.line["started"], true);
        const auto shutdownMs = withShutdown.line.value("shutdownMs", -1LL);
        EXPECT_GE(shutdownMs, 1000) << "the reports stay unanswered for the whole second";
        EXPECT_LT(shutdownMs, kShutdownLimitMs);
        EXPECT_LT(withShutdown.exitTime, kExitLimit);

        auto without = runHost(service, collector.url(), 10, "return", "silent-return-" + std::to_string(run));
        EXPECT_EQ(without.exitCode, 0) << without.errorOutput;
        EXPECT_LT(without.exitTime, kExitLimit);
    }
}

}  // namespace
}  // namespace quarra::e2e
