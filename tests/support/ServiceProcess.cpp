#include "support/ServiceProcess.hpp"

#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

#include <nlohmann/json.hpp>

extern char** environ;

namespace quarra::testing {
namespace {

constexpr auto kPatience = std::chrono::seconds(30);

// Reads up to the first newline; stops early on end of file or after the patience runs out.
std::string readFirstLine(int fd) {
    std::string line;
    auto deadline = std::chrono::steady_clock::now() + kPatience;
    while (std::chrono::steady_clock::now() < deadline) {
        pollfd wanted{fd, POLLIN, 0};
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (::poll(&wanted, 1, static_cast<int>(std::max<long>(left.count(), 0))) <= 0) break;
        char c = 0;
        if (::read(fd, &c, 1) != 1 || c == '\n') break;
        line.push_back(c);
    }
    return line;
}

int exitCodeOf(int status) {
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
    return -1;
}

}  // namespace

ServiceProcess::ServiceProcess(const std::filesystem::path& binary, const std::vector<std::string>& arguments,
                               const std::filesystem::path& stderrFile)
    : stderrFile_(stderrFile) {
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0) return;

    std::vector<std::string> argvText{binary.string()};
    argvText.insert(argvText.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (auto& text : argvText) argv.push_back(text.data());
    argv.push_back(nullptr);

    // Prepared before the fork: the child may only make system calls.
    int stderrFd = ::open(stderrFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    pid_t parent = ::getpid();
    pid_ = ::fork();
    if (pid_ == 0) {
        // A test program that dies must not leave its server behind.
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (::getppid() != parent) ::_exit(127);
        ::dup2(pipeFds[1], STDOUT_FILENO);
        if (stderrFd >= 0) ::dup2(stderrFd, STDERR_FILENO);
        ::execve(argv[0], argv.data(), environ);
        ::_exit(127);
    }
    if (stderrFd >= 0) ::close(stderrFd);
    ::close(pipeFds[1]);
    if (pid_ < 0) {
        ::close(pipeFds[0]);
        return;
    }

    firstLine_ = readFirstLine(pipeFds[0]);
    ::close(pipeFds[0]);
    auto line = nlohmann::json::parse(firstLine_, nullptr, /*allow_exceptions=*/false);
    if (line.is_object() && line.contains("url") && line["url"].is_string() && line.contains("caFile") &&
        line["caFile"].is_string()) {
        url_ = line["url"].get<std::string>();
        caFile_ = line["caFile"].get<std::string>();
        auto colon = url_.rfind(':');
        if (colon != std::string::npos) port_ = std::atoi(url_.c_str() + colon + 1);
        started_ = port_ > 0;
    }
}

ServiceProcess::~ServiceProcess() {
    if (pid_ > 0 && !exitCode_) stop(SIGTERM);
}

std::string ServiceProcess::errorOutput() const {
    std::ifstream in(stderrFile_);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::optional<int> ServiceProcess::reap(bool block) {
    if (exitCode_ || pid_ <= 0) return exitCode_;
    int status = 0;
    pid_t done = ::waitpid(pid_, &status, block ? 0 : WNOHANG);
    if (done == pid_) exitCode_ = exitCodeOf(status);
    return exitCode_;
}

int ServiceProcess::stop(int signal) {
    if (pid_ <= 0) return -1;
    if (!exitCode_) ::kill(pid_, signal);
    return waitForExit();
}

int ServiceProcess::waitForExit() {
    if (pid_ <= 0) return -1;
    auto deadline = std::chrono::steady_clock::now() + kPatience;
    while (!reap(false)) {
        if (std::chrono::steady_clock::now() >= deadline) {
            ::kill(pid_, SIGKILL);
            reap(true);
            exitCode_ = -1;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return *exitCode_;
}

}  // namespace quarra::testing
