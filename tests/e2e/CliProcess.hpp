#pragma once
// Runs the real quarra-cli binary and collects what it wrote and how it ended.
#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace quarra::e2e {

struct CliResult {
    int exitCode = -1;                 // 128 + signal when a signal ended it; -1 when it had to be killed
    std::vector<std::string> rawLines;  // standard output, line by line
    std::vector<nlohmann::json> lines;  // the same lines parsed (discarded values where not JSON)
    std::string errorOutput;            // standard error

    // The step line whose "step" is `number`, or null.
    nlohmann::json step(int number) const;
};

// Runs quarra-cli with `arguments`; its output goes to files in `workDirectory`.
// A run that outlives `patience` is killed.
CliResult runCli(const std::vector<std::string>& arguments, const std::filesystem::path& workDirectory,
                 std::chrono::seconds patience = std::chrono::seconds(120));

// Writes `scenario` as a file in `directory` and returns its path.
std::filesystem::path writeScenario(const std::filesystem::path& directory, const std::string& name,
                                    const std::string& text);

}  // namespace quarra::e2e
