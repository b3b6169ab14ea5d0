// quarra-cli run: check everything first, configure the library, play the steps.
#include <chrono>
#include <fstream>
#include <sstream>

#include <quarra/DataCollectorService.hpp>
#include <quarra/Options.hpp>

#include "Commands.hpp"
#include "Scenario.hpp"
#include "ScriptedAccelerometer.hpp"
#include "StderrConsole.hpp"
#include "StepOutput.hpp"
#include <quarra/testing/ManualPathMonitor.hpp>

#include "StepRunner.hpp"

namespace quarra::cli {
namespace {

namespace fs = std::filesystem;

constexpr std::uintmax_t kLargestScenario = 16 * 1024 * 1024;
// What the library may still deliver once the last step has been played.
constexpr std::chrono::milliseconds kShutdownTimeout{1000};

struct FileText {
    std::optional<std::string> text;
    std::string problem;  // why there is no text
};

FileText readFile(const fs::path& path) {
    std::error_code error;
    if (!fs::is_regular_file(path, error)) return {std::nullopt, "no such file"};
    if (fs::file_size(path, error) > kLargestScenario) return {std::nullopt, "larger than 16 MiB"};
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    if (!in) return {std::nullopt, "cannot be read"};
    return {text.str(), ""};
}

Options libraryOptions(const RunArguments& arguments, std::shared_ptr<Executor> mainQueue,
                       std::shared_ptr<PathMonitor> monitor, std::shared_ptr<AccelerometerSource> accelerometer) {
    Options options;
    options.appName = "quarra-cli";
    options.bundleIdentifier = "net.quarra.cli";
    options.dataDirectory = arguments.dataDirectory;
    if (arguments.platformUrl) options.origins.platform = *arguments.platformUrl;
    if (arguments.collectorUrl) options.origins.collector = *arguments.collectorUrl;
    if (arguments.certificationUrl) options.origins.certification = *arguments.certificationUrl;
    if (arguments.logUrl) options.origins.log = *arguments.logUrl;
    options.caFile = arguments.caFile;
    options.console = makeStderrConsole();
    options.mainExecutor = std::move(mainQueue);
    options.pathMonitor = std::move(monitor);
    options.accelerometerSource = std::move(accelerometer);  // null: the device's own
    return options;
}

// Plays the steps in order, one JSON line each; stops at the first time-out.
int playSteps(const Scenario& scenario, StepRunner& runner) {
    for (const auto& step : scenario.steps) {
        auto started = std::chrono::steady_clock::now();
        auto outcome = runner.run(step);
        auto elapsed = std::chrono::duration_cast<Milliseconds>(std::chrono::steady_clock::now() - started);
        writeStepLine(stdout, step, outcome, elapsed);
        if (outcome.timedOut) {
            complain("step " + std::to_string(step.number) + " (\"" + step.name + "\") timed out after " +
                     std::to_string(elapsed.count()) + " ms; the remaining steps were not run");
            return kExitTimedOut;
        }
    }
    return kExitOk;
}

}  // namespace

void complain(const std::string& message) { std::fprintf(stderr, "quarra-cli: %s\n", message.c_str()); }

int runScenario(const RunArguments& arguments) {
    auto file = readFile(arguments.scenario);
    if (!file.text) {
        complain(arguments.scenario.string() + ": " + file.problem);
        return kExitUsage;
    }
    auto parsed = parseScenario(*file.text, ScenarioRules{.manualNetwork = arguments.manualNetwork,
                                                          .scriptedSensors = arguments.scriptedSensors});
    if (auto* problem = std::get_if<std::string>(&parsed)) {
        complain(arguments.scenario.string() + ": " + *problem);
        return kExitUsage;
    }
    const auto& scenario = std::get<Scenario>(parsed);
    if (!arguments.caFile.empty() && !std::ifstream(arguments.caFile)) {
        complain("--ca-file " + arguments.caFile + ": cannot be read");
        return kExitUsage;
    }

    // The host's main queue: the controls live there and the online session
    // key arrives there.
    auto mainQueue = makeSerialQueue("cli-main");
    // A manual network's changes reach the library on the scenario thread.
    std::shared_ptr<ManualPathMonitor> monitor;
    if (arguments.manualNetwork) monitor = std::make_shared<ManualPathMonitor>(nullptr, true);
    std::shared_ptr<ScriptedAccelerometer> accelerometer;
    if (arguments.scriptedSensors) accelerometer = std::make_shared<ScriptedAccelerometer>();
    configure(libraryOptions(arguments, mainQueue, monitor, accelerometer));
    DataCollectorService::enableLogs(arguments.logs);

    int code = kExitOk;
    {
        StepRunner runner(scenario, mainQueue, monitor, accelerometer);
        code = playSteps(scenario, runner);
    }
    DataCollectorService::defaultService().shutdown(kShutdownTimeout);
    return code;
}

}  // namespace quarra::cli
