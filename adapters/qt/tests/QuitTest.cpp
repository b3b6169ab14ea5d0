// A Qt app that quits right after a tap: it ends cleanly, every time, and
// the adapter's quit shutdown still delivers what the user did.
#include <gmock/gmock.h>
#include <httplib.h>

#include <map>
#include <string>

#include <nlohmann/json.hpp>

#include "support/ProgramRun.hpp"
#include "support/ServiceProcess.hpp"
#include "support/TempDir.hpp"

#if defined(QUARRA_QT_QUIT_HOST_BINARY) && defined(QUARRA_SERVICE_BINARY)

namespace quarra::qt {
namespace {

using Json = nlohmann::json;

Json adminGet(const quarra::testing::ServiceProcess& service, const std::string& path) {
    httplib::SSLClient client("127.0.0.1", service.port());
    client.set_ca_cert_path(service.caFile());
    client.enable_server_certificate_verification(true);
    auto answer = client.Get(path);
    if (!answer || answer->status != 200) return nullptr;
    return Json::parse(answer->body, nullptr, false);
}

// Stored reports of one session, by report key ("events", "activityStream", ...).
std::map<std::string, int> reportKinds(const Json& detail) {
    std::map<std::string, int> kinds;
    if (!detail.is_object() || !detail["reports"].is_array()) return kinds;
    for (const auto& report : detail["reports"]) ++kinds[report.value("reportKey", "")];
    return kinds;
}

TEST(QuitTest, AnAppThatQuitsRightAfterATapEndsCleanlyAndDeliversTheTap) {
    quarra::testing::TempDir work;
    quarra::testing::ServiceProcess service(QUARRA_SERVICE_BINARY,
                                            {"--data-dir", (work.path() / "service").string(), "--quiet"},
                                            work.path() / "service.err");
    ASSERT_TRUE(service.started()) << service.firstLine() << service.errorOutput();

    // 0.14 s after the tap, as a user closing the app; and at once, when
    // nothing but the quit shutdown can still deliver the tap.
    constexpr int kRuns = 30;
    for (int run = 0; run < kRuns; ++run) {
        auto client = work.path() / ("client-" + std::to_string(run));
        const std::string quitAfterMs = run < 20 ? "140" : "0";
        auto result = quarra::testing::runProgram(QUARRA_QT_QUIT_HOST_BINARY,
                                                  {service.url(), service.caFile(), client.string(), quitAfterMs},
                                                  work.path(), "quit-host", std::chrono::seconds(60));
        EXPECT_EQ(result.exitCode, 0) << "run " << run << "\n" << result.errorOutput;
    }

    auto overview = adminGet(service, "/admin/sessions");
    ASSERT_TRUE(overview.is_object());
    ASSERT_EQ(overview["sessions"].size(), static_cast<size_t>(kRuns));
    for (const auto& session : overview["sessions"]) {
        auto kinds = reportKinds(adminGet(service, "/admin/sessions/" + session["id"].get<std::string>()));
        EXPECT_EQ(kinds["userData"], 1) << session.dump();
        EXPECT_GE(kinds["events"], 1) << "the tap, delivered while the app quit";
        EXPECT_EQ(kinds["activityStream"], 1) << "the typing, which the click ended";
    }
}

}  // namespace
}  // namespace quarra::qt

#endif
