#pragma once
// Runs a program to its end and collects what it wrote and how it ended.
#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

namespace quarra::testing {

struct ProgramRun {
    int exitCode = -1;                      // 128 + signal when a signal ended it; -1 when it had to be killed
    std::vector<std::string> outputLines;  // standard output, line by line
    std::string errorOutput;                // standard error
    // When the child was seen to have ended (steady clock).
    std::chrono::steady_clock::time_point ended;
};

// Runs `binary` with `arguments`; its output goes to files in `workDirectory`
// (named after `label`). A run that outlives `patience` is killed.
ProgramRun runProgram(const std::filesystem::path& binary, const std::vector<std::string>& arguments,
                      const std::filesystem::path& workDirectory, const std::string& label,
                      std::chrono::seconds patience = std::chrono::seconds(120));

// Runs `binary` like runProgram, but kills it (SIGKILL) as soon as its
// standard output holds `lines` lines; `exitCode` is then 128 + 9. A run that
// ends by itself first is reported as it ended.
ProgramRun runProgramUntilLines(const std::filesystem::path& binary, const std::vector<std::string>& arguments,
                                const std::filesystem::path& workDirectory, const std::string& label, std::size_t lines,
                                std::chrono::seconds patience = std::chrono::seconds(120));

}  // namespace quarra::testing
