#include "support/ProgramRun.hpp"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <optional>
#include <csignal>
#include <fstream>
#include <sstream>
#include <thread>

extern char** environ;

namespace quarra::testing {
namespace {

std::atomic<int> gRunNumber{0};

std::string readAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

int exitCodeOf(int status) {
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
    return -1;
}

std::size_t lineCount(const std::filesystem::path& path) {
    auto text = readAll(path);
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

// Waits for the child, killing it once the patience runs out, or at once
// when `killWhen` says so. Looks often: the exit tests measure how soon a
// child ends.
int waitFor(pid_t pid, std::chrono::seconds patience, const std::function<bool()>& killWhen = {}) {
    auto deadline = std::chrono::steady_clock::now() + patience;
    while (true) {
        int status = 0;
        pid_t done = ::waitpid(pid, &status, WNOHANG);
        if (done == pid) return exitCodeOf(status);
        if (done < 0) return -1;
        if (killWhen && killWhen()) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            return exitCodeOf(status);
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

}  // namespace

namespace {

ProgramRun run(const std::filesystem::path& binary, const std::vector<std::string>& arguments,
               const std::filesystem::path& workDirectory, const std::string& label, std::chrono::seconds patience,
               std::optional<std::size_t> killAtLines) {
    const auto run = std::to_string(++gRunNumber);
    auto outFile = workDirectory / (label + "-" + run + ".out");
    auto errFile = workDirectory / (label + "-" + run + ".err");

    std::vector<std::string> argvText{binary.string()};
    argvText.insert(argvText.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (auto& text : argvText) argv.push_back(text.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = -1;
    int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);

    ProgramRun result;
    if (spawned != 0) {
        result.errorOutput = "could not start " + argvText[0];
        return result;
    }
    std::function<bool()> killWhen;
    if (killAtLines) killWhen = [&] { return lineCount(outFile) >= *killAtLines; };
    result.exitCode = waitFor(pid, patience, killWhen);
    result.ended = std::chrono::steady_clock::now();
    result.errorOutput = readAll(errFile);
    std::istringstream out(readAll(outFile));
    for (std::string line; std::getline(out, line);) result.outputLines.push_back(line);
    return result;
}

}  // namespace

ProgramRun runProgram(const std::filesystem::path& binary, const std::vector<std::string>& arguments,
                      const std::filesystem::path& workDirectory, const std::string& label,
                      std::chrono::seconds patience) {
    return run(binary, arguments, workDirectory, label, patience, std::nullopt);
}

ProgramRun runProgramUntilLines(const std::filesystem::path& binary, const std::vector<std::string>& arguments,
                                const std::filesystem::path& workDirectory, const std::string& label, std::size_t lines,
                                std::chrono::seconds patience) {
    return run(binary, arguments, workDirectory, label, patience, lines);
}

}  // namespace quarra::testing
