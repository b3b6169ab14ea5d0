#include "CliProcess.hpp"

#include <fstream>

#include "support/ProgramRun.hpp"

namespace quarra::e2e {

nlohmann::json CliResult::step(int number) const {
    for (const auto& line : lines) {
        if (line.is_object() && line.value("step", -1) == number) return line;
    }
    return nullptr;
}

CliResult runCli(const std::vector<std::string>& arguments, const std::filesystem::path& workDirectory,
                 std::chrono::seconds patience) {
    auto run = testing::runProgram(QUARRA_CLI_BINARY, arguments, workDirectory, "cli", patience);
    CliResult result;
    result.exitCode = run.exitCode;
    result.errorOutput = std::move(run.errorOutput);
    for (auto& line : run.outputLines) {
        result.lines.push_back(nlohmann::json::parse(line, nullptr, /*allow_exceptions=*/false));
        result.rawLines.push_back(std::move(line));
    }
    return result;
}

std::filesystem::path writeScenario(const std::filesystem::path& directory, const std::string& name,
                                    const std::string& text) {
    auto path = directory / name;
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

}  // namespace quarra::e2e
