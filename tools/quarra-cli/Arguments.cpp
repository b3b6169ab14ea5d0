#include "Arguments.hpp"

#include <CLI/CLI.hpp>

#include <quarra/Version.hpp>

namespace quarra::cli {
namespace {

// A service origin: https, a host, no path beyond an optional trailing slash (dropped).
std::optional<std::string> origin(std::string url) {
    constexpr std::string_view kScheme = "https://";
    while (!url.empty() && url.back() == '/') url.pop_back();
    if (url.rfind(kScheme, 0) != 0 || url.size() == kScheme.size()) return std::nullopt;
    if (url.find_first_of("/?# \t\r\n", kScheme.size()) != std::string::npos) return std::nullopt;
    return url;
}

// Accepts an https origin and leaves it without its trailing slashes.
const CLI::Validator kOrigin(
    [](std::string& value) -> std::string {
        auto parsed = origin(value);
        if (!parsed) return "must be an https origin such as https://127.0.0.1:8443, not \"" + value + "\"";
        value = *parsed;
        return {};
    },
    "ORIGIN");

const CLI::Validator kNotEmpty([](std::string& value) { return value.empty() ? std::string("needs a value") : ""; },
                               "");

// One of `choices`, named in the message otherwise.
CLI::Validator oneOf(std::string first, std::string second) {
    return CLI::Validator(
        [first, second](std::string& value) -> std::string {
            if (value == first || value == second) return {};
            return "must be " + first + " or " + second + ", not \"" + value + "\"";
        },
        "");
}

const char* const kDescription =
    "quarra-cli: a headless host of the quarra library that plays scripted sessions\n"
    "against the fraud-prevention service (or a local quarra-service).";

const char* const kFooter = R"(
run      plays the scenario against the service and writes one JSON line per
         step to standard output; the library's console lines go to standard
         error (with --logs). Exit code 0 when every step ran, 1 when a step
         timed out, 2 for a bad command line or a malformed scenario.
summary  prints what a local quarra-service has stored (sessions, reports per
         kind, log records, transactions with their decisions).

URLs are origins (https://host:port); the library appends its own paths.
The scenario format: tools/quarra-cli/README.md.)";

// The command line's grammar, writing into `run` and `summary`.
struct Grammar {
    CLI::App app{kDescription, "quarra-cli"};
    CLI::App* runCommand = nullptr;
    CLI::App* summaryCommand = nullptr;
    bool showVersion = false;
    RunArguments run;
    SummaryArguments summary;
    std::string network = "system";
    std::string sensors = "system";
    std::string scenario;

    Grammar() {
        app.footer(kFooter);
        app.require_subcommand(0, 1);
        app.add_flag("--version", showVersion, "print the version and exit");

        runCommand = app.add_subcommand("run", "play SCENARIO.json against the service");
        runCommand->add_option("SCENARIO.json", scenario, "the scenario file");
        runCommand->add_option("--platform-url", run.platformUrl, "origin of the token and initiate calls")
            ->check(kOrigin);
        runCommand->add_option("--collector-url", run.collectorUrl, "origin of the report collector")->check(kOrigin);
        runCommand->add_option("--certification-url", run.certificationUrl,
                               "origin of the transaction (certification) calls")
            ->check(kOrigin);
        runCommand->add_option("--log-url", run.logUrl, "origin of the log endpoint")->check(kOrigin);
        runCommand
            ->add_option("--ca-file", run.caFile,
                         "PEM file of the certificate authorities to trust instead of the system's "
                         "(quarra-service prints its own)")
            ->check(kNotEmpty);
        runCommand
            ->add_option("--data-dir", run.dataDirectory,
                         "the library's data directory (secure store, cache, outbox); default: "
                         "$XDG_DATA_HOME/quarra/<bundle>")
            ->check(kNotEmpty);
        runCommand
            ->add_option("--network", network,
                         "system: the machine's network monitor; manual: the scenario's \"network\" "
                         "steps switch the path (it starts usable)")
            ->check(oneOf("system", "manual"))
            ->default_str("system");
        runCommand
            ->add_option("--sensors", sensors,
                         "system: the device's accelerometer; scripted: the scenario's "
                         "\"accelerometerSample\" steps set the readings")
            ->check(oneOf("system", "scripted"))
            ->default_str("system");
        runCommand->add_flag("--logs", run.logs, "write the library's console lines to standard error");

        summaryCommand = app.add_subcommand("summary", "print what a local quarra-service has stored");
        summaryCommand->add_option("--service-url", summary.serviceUrl, "origin of the quarra-service")
            ->check(kOrigin)
            ->required();
        summaryCommand->add_option("--ca-file", summary.caFile, "PEM file of the authority to trust")
            ->check(kNotEmpty);
    }
};

}  // namespace

std::variant<Command, std::string> parseArguments(const std::vector<std::string>& args) {
    if (args.empty()) return std::string("no command given");
    const std::string& first = args[0];
    if (first == "help") return Command{HelpRequest{}};
    if (!first.starts_with("-") && first != "run" && first != "summary") {
        return "unknown command \"" + first + "\" (run or summary)";
    }
    Grammar grammar;
    // CLI11 takes the arguments last to first.
    std::vector<std::string> reversed(args.rbegin(), args.rend());
    try {
        grammar.app.parse(reversed);
    } catch (const CLI::CallForHelp&) {
        return Command{HelpRequest{}};
    } catch (const CLI::CallForAllHelp&) {
        return Command{HelpRequest{}};
    } catch (const CLI::ParseError& error) {
        return std::string(error.what());
    }
    if (grammar.showVersion) return Command{VersionRequest{}};
    if (grammar.runCommand->parsed()) {
        if (grammar.scenario.empty()) return std::string("run needs a scenario file");
        grammar.run.scenario = grammar.scenario;
        grammar.run.manualNetwork = grammar.network == "manual";
        grammar.run.scriptedSensors = grammar.sensors == "scripted";
        return Command{std::move(grammar.run)};
    }
    if (grammar.summaryCommand->parsed()) return Command{std::move(grammar.summary)};
    return std::string("no command given");
}

std::string usageText() {
    Grammar grammar;
    return grammar.app.help("", CLI::AppFormatMode::All);
}

std::string versionText() { return std::string("quarra-cli ") + versionString() + "\n"; }

}  // namespace quarra::cli
