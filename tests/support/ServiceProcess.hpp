#pragma once
// Runs quarra-service as a child process for integration tests: starts it,
// reads its first stdout line ({"url", "caFile"}) and stops it by signal.
// The child gets SIGTERM if the thread that started it (keep that the
// test's main thread) or the whole test program dies first.
#include <sys/types.h>

#include <csignal>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace quarra::testing {

class ServiceProcess {
public:
    // Starts `binary` with `arguments`; its stderr goes to `stderrFile`. Waits
    // (at most 30 s) for the first line, or for the process to end.
    ServiceProcess(const std::filesystem::path& binary, const std::vector<std::string>& arguments,
                   const std::filesystem::path& stderrFile);
    // Stops a process still running (SIGTERM, then SIGKILL after 30 s).
    ~ServiceProcess();
    ServiceProcess(const ServiceProcess&) = delete;
    ServiceProcess& operator=(const ServiceProcess&) = delete;

    // True when the first line arrived and named a URL and a CA file.
    bool started() const { return started_; }
    const std::string& url() const { return url_; }
    const std::string& caFile() const { return caFile_; }
    int port() const { return port_; }
    // The first line as printed, and the stderr written so far.
    const std::string& firstLine() const { return firstLine_; }
    std::string errorOutput() const;

    // Sends `signal` and waits for the exit. The exit code; 128 + signal
    // number when a signal ended it; -1 when it had to be killed.
    int stop(int signal = SIGTERM);
    // Waits for an exit that needs no signal (bad arguments, failed start).
    int waitForExit();

private:
    std::optional<int> reap(bool block);

    pid_t pid_ = -1;
    std::optional<int> exitCode_;
    bool started_ = false;
    std::string firstLine_;
    std::string url_;
    std::string caFile_;
    int port_ = 0;
    std::filesystem::path stderrFile_;
};

}  // namespace quarra::testing
