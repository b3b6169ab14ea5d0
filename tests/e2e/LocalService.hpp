#pragma once
// A quarra-service process of its own (fresh data directory, ephemeral port)
// and a client for its admin endpoints, over HTTPS that trusts its CA.
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "support/ServiceProcess.hpp"
#include "support/TempDir.hpp"

namespace quarra::e2e {

using Json = nlohmann::json;

struct Answer {
    bool delivered = false;  // false: no HTTP answer at all
    int status = 0;
    Json body;               // discarded when the body is not JSON
};

class LocalService {
public:
    LocalService();
    LocalService(const LocalService&) = delete;
    LocalService& operator=(const LocalService&) = delete;

    bool started() const { return process_->started(); }
    std::string startupProblem() const { return process_->firstLine() + process_->errorOutput(); }
    const std::string& url() const { return process_->url(); }
    const std::string& caFile() const { return process_->caFile(); }
    // A scratch directory for scenarios, client data and output files.
    const std::filesystem::path& workDirectory() const { return directory_.path(); }
    // Whether the process is still running.
    bool running();

    Answer send(const std::string& method, const std::string& path, const std::string& body = {},
                const std::string& contentType = "application/json");

    std::vector<Json> sessions();
    Json session(const std::string& id);
    bool addFault(const Json& fault);

    // "run SCENARIO" with every origin set to this service and its CA trusted,
    // and the library's console lines on (they explain a failure).
    std::vector<std::string> runArguments(const std::filesystem::path& scenario,
                                          const std::filesystem::path& clientData, bool manualNetwork = true) const;

private:
    testing::TempDir directory_;
    std::unique_ptr<testing::ServiceProcess> process_;
};

}  // namespace quarra::e2e
