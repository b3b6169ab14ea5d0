#include "LocalService.hpp"

#include <signal.h>

#include <httplib.h>

namespace quarra::e2e {

LocalService::LocalService() {
    // A connection the service closes mid-write must fail that request, not end the test program.
    ::signal(SIGPIPE, SIG_IGN);
    process_ = std::make_unique<testing::ServiceProcess>(
        QUARRA_SERVICE_BINARY, std::vector<std::string>{"--data-dir", (directory_.path() / "service").string(), "--quiet"},
        directory_.path() / "service.err");
}

bool LocalService::running() {
    if (!started()) return false;
    return send("GET", "/admin/faults").status == 200;
}

Answer LocalService::send(const std::string& method, const std::string& path, const std::string& body,
                          const std::string& contentType) {
    httplib::SSLClient client("127.0.0.1", process_->port());
    client.set_ca_cert_path(process_->caFile());
    client.enable_server_certificate_verification(true);
    client.set_read_timeout(30);
    httplib::Request request;
    request.method = method;
    request.path = path;
    request.body = body;
    if (!contentType.empty()) request.set_header("Content-Type", contentType);
    auto result = client.send(request);
    Answer answer;
    if (!result) return answer;
    answer.delivered = true;
    answer.status = result->status;
    answer.body = Json::parse(result->body, nullptr, /*allow_exceptions=*/false);
    return answer;
}

std::vector<Json> LocalService::sessions() {
    auto answer = send("GET", "/admin/sessions");
    if (!answer.body.is_object() || !answer.body.contains("sessions") || !answer.body["sessions"].is_array()) return {};
    return answer.body["sessions"].get<std::vector<Json>>();
}

Json LocalService::session(const std::string& id) { return send("GET", "/admin/sessions/" + id).body; }

bool LocalService::addFault(const Json& fault) { return send("POST", "/admin/faults", fault.dump()).status == 201; }

std::vector<std::string> LocalService::runArguments(const std::filesystem::path& scenario,
                                                    const std::filesystem::path& clientData, bool manualNetwork) const {
    std::vector<std::string> arguments{"run", scenario.string(), "--platform-url", url(), "--collector-url", url(),
                                       "--certification-url", url(), "--log-url", url(), "--ca-file", caFile(),
                                       "--data-dir", clientData.string(), "--logs"};
    if (manualNetwork) arguments.insert(arguments.end(), {"--network", "manual"});
    return arguments;
}

}  // namespace quarra::e2e
