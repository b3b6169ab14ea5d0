// quarra-cli: a headless host of the library that plays scripted sessions.
#include <cstdio>
#include <string>
#include <vector>

#include "Arguments.hpp"
#include "Commands.hpp"

using namespace quarra::cli;

namespace {

int dispatch(const std::vector<std::string>& args) {
    auto parsed = parseArguments(args);
    if (auto* problem = std::get_if<std::string>(&parsed)) {
        complain(*problem);
        std::fputs(usageText().c_str(), stderr);
        return kExitUsage;
    }
    const auto& command = std::get<Command>(parsed);
    if (const auto* run = std::get_if<RunArguments>(&command)) return runScenario(*run);
    if (const auto* summary = std::get_if<SummaryArguments>(&command)) return printSummary(*summary);
    if (std::holds_alternative<VersionRequest>(command)) {
        std::fputs(versionText().c_str(), stdout);
        return kExitOk;
    }
    std::fputs(usageText().c_str(), stdout);
    return kExitOk;
}

}  // namespace

int main(int argc, char** argv) { return dispatch(std::vector<std::string>(argv + 1, argv + argc)); }
