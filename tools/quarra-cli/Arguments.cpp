#include "Arguments.hpp"

#include <functional>
#include <map>

namespace quarra::cli {
namespace {

// "--name=value" or "--name value"; the value of a flag that takes one.
struct FlagReader {
    const std::vector<std::string>& args;
    std::size_t index = 0;

    bool done() const { return index >= args.size(); }

    // Splits the current argument into its name and an inline value.
    std::pair<std::string, std::optional<std::string>> next() {
        const std::string& arg = args[index++];
        auto equals = arg.find('=');
        if (arg.rfind("--", 0) == 0 && equals != std::string::npos) return {arg.substr(0, equals), arg.substr(equals + 1)};
        return {arg, std::nullopt};
    }

    // The inline value, else the next argument; nothing when the line ends.
    std::optional<std::string> valueOf(std::optional<std::string> inlineValue) {
        if (inlineValue) return inlineValue;
        if (done()) return std::nullopt;
        return args[index++];
    }
};

// A service origin: https, a host, no path beyond an optional trailing slash (dropped).
std::optional<std::string> origin(std::string url) {
    constexpr std::string_view kScheme = "https://";
    while (!url.empty() && url.back() == '/') url.pop_back();
    if (url.rfind(kScheme, 0) != 0 || url.size() == kScheme.size()) return std::nullopt;
    if (url.find_first_of("/?# \t\r\n", kScheme.size()) != std::string::npos) return std::nullopt;
    return url;
}

// Each takes a value (or, for a switch, nothing) and says what is wrong with it.
using Setter = std::function<std::optional<std::string>(const std::string& value)>;
using Switch = std::function<void()>;

struct FlagsRead {
    bool help = false;
    std::optional<std::string> problem;
};

FlagsRead readFlags(FlagReader& reader, const std::map<std::string, Setter>& withValue,
                    const std::map<std::string, Switch>& switches, const Setter& positional) {
    while (!reader.done()) {
        auto [name, inlineValue] = reader.next();
        if (name == "--help" || name == "-h") return {true, std::nullopt};
        if (auto found = switches.find(name); found != switches.end()) {
            if (inlineValue) return {false, name + " takes no value"};
            found->second();
            continue;
        }
        if (auto found = withValue.find(name); found != withValue.end()) {
            auto value = reader.valueOf(inlineValue);
            if (!value) return {false, name + " needs a value"};
            if (auto problem = found->second(*value)) return {false, problem};
            continue;
        }
        if (name.rfind("-", 0) == 0 && name != "-") return {false, "unknown flag " + name};
        if (auto problem = positional(name)) return {false, problem};
    }
    return {};
}

std::variant<Command, std::string> parseRun(FlagReader& reader) {
    RunArguments run;
    bool haveScenario = false;
    auto url = [](std::optional<std::string>& target, const std::string& flag) -> Setter {
        return [&target, flag](const std::string& value) -> std::optional<std::string> {
            target = origin(value);
            if (!target) return flag + " must be an https origin such as https://127.0.0.1:8443, not \"" + value + "\"";
            return std::nullopt;
        };
    };
    std::map<std::string, Setter> withValue{
        {"--platform-url", url(run.platformUrl, "--platform-url")},
        {"--collector-url", url(run.collectorUrl, "--collector-url")},
        {"--certification-url", url(run.certificationUrl, "--certification-url")},
        {"--log-url", url(run.logUrl, "--log-url")},
        {"--ca-file",
         [&](const std::string& value) -> std::optional<std::string> {
             if (value.empty()) return "--ca-file needs a file name";
             run.caFile = value;
             return std::nullopt;
         }},
        {"--data-dir",
         [&](const std::string& value) -> std::optional<std::string> {
             if (value.empty()) return "--data-dir needs a directory";
             run.dataDirectory = value;
             return std::nullopt;
         }},
        {"--network",
         [&](const std::string& value) -> std::optional<std::string> {
             if (value != "system" && value != "manual") return "--network must be system or manual, not \"" + value + "\"";
             run.manualNetwork = value == "manual";
             return std::nullopt;
         }},
        {"--sensors",
         [&](const std::string& value) -> std::optional<std::string> {
             if (value != "system" && value != "scripted") return "--sensors must be system or scripted, not \"" + value + "\"";
             run.scriptedSensors = value == "scripted";
             return std::nullopt;
         }},
    };
    std::map<std::string, Switch> switches{{"--logs", [&] { run.logs = true; }}};
    auto read = readFlags(reader, withValue, switches, [&](const std::string& value) -> std::optional<std::string> {
        if (haveScenario) return "only one scenario file, but also got \"" + value + "\"";
        run.scenario = value;
        haveScenario = true;
        return std::nullopt;
    });
    if (read.problem) return *read.problem;
    if (read.help) return Command{HelpRequest{}};
    if (!haveScenario) return std::string("run needs a scenario file");
    return Command{std::move(run)};
}

std::variant<Command, std::string> parseSummary(FlagReader& reader) {
    SummaryArguments summary;
    std::map<std::string, Setter> withValue{
        {"--service-url",
         [&](const std::string& value) -> std::optional<std::string> {
             auto parsed = origin(value);
             if (!parsed) return "--service-url must be an https origin such as https://127.0.0.1:8443, not \"" + value + "\"";
             summary.serviceUrl = *parsed;
             return std::nullopt;
         }},
        {"--ca-file",
         [&](const std::string& value) -> std::optional<std::string> {
             if (value.empty()) return "--ca-file needs a file name";
             summary.caFile = value;
             return std::nullopt;
         }},
    };
    auto read = readFlags(reader, withValue, {}, [](const std::string& value) -> std::optional<std::string> {
        return "summary takes no file, but got \"" + value + "\"";
    });
    if (read.problem) return *read.problem;
    if (read.help) return Command{HelpRequest{}};
    if (summary.serviceUrl.empty()) return std::string("summary needs --service-url");
    return Command{std::move(summary)};
}

}  // namespace

std::variant<Command, std::string> parseArguments(const std::vector<std::string>& args) {
    if (args.empty()) return std::string("no command given");
    FlagReader reader{args, 1};
    const std::string& command = args[0];
    if (command == "--help" || command == "-h" || command == "help") return Command{HelpRequest{}};
    if (command == "run") return parseRun(reader);
    if (command == "summary") return parseSummary(reader);
    return "unknown command \"" + command + "\" (run or summary)";
}

std::string usageText() {
    return R"(usage:
  quarra-cli run SCENARIO.json [--platform-url URL] [--collector-url URL]
                 [--certification-url URL] [--log-url URL] [--ca-file FILE]
                 [--data-dir DIR] [--network system|manual]
                 [--sensors system|scripted] [--logs]
  quarra-cli summary --service-url URL [--ca-file FILE]

run      plays the scenario against the service and writes one JSON line per
         step to standard output; the library's console lines go to standard
         error. Exit code 0 when every step ran, 1 when a step timed out,
         2 for a bad command line or a malformed scenario.
summary  prints what a local quarra-service has stored (sessions, reports per
         kind, log records, transactions with their decisions).

URLs are origins (https://host:port); the library appends its own paths.
--network manual replaces the system's network monitor with one that the
scenario's "network" steps switch (it starts with a usable path).
--sensors scripted replaces the device's accelerometer with one whose
readings the scenario's "accelerometerSample" steps set.
)";
}

}  // namespace quarra::cli
