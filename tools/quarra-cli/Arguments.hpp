#pragma once
// The command line of quarra-cli.
#include <filesystem>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace quarra::cli {

// quarra-cli run SCENARIO.json [flags]
struct RunArguments {
    std::filesystem::path scenario;
    // Service origins ("https://host[:port]", no trailing slash); absent: built in.
    std::optional<std::string> platformUrl;
    std::optional<std::string> collectorUrl;
    std::optional<std::string> certificationUrl;
    std::optional<std::string> logUrl;
    std::string caFile;                    // empty: the system's trust store
    std::filesystem::path dataDirectory;  // empty: the library's default
    bool manualNetwork = false;           // the scenario's "network" steps drive the path
    bool logs = false;                    // the library's "[DataCollector]" lines, on stderr
    bool scriptedSensors = false;         // the scenario's "accelerometerSample" steps set the readings
};

// quarra-cli summary --service-url URL [--ca-file FILE]
struct SummaryArguments {
    std::string serviceUrl;
    std::string caFile;
};

struct HelpRequest {};
struct VersionRequest {};

using Command = std::variant<RunArguments, SummaryArguments, HelpRequest, VersionRequest>;

// The command, or a message naming what is wrong with the command line.
std::variant<Command, std::string> parseArguments(const std::vector<std::string>& args);

// Every command and flag, with what it does.
std::string usageText();
// "quarra-cli <library version>".
std::string versionText();

}  // namespace quarra::cli
