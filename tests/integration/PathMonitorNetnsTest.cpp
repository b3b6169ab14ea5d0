// The Linux path monitor against a real kernel, inside a network namespace of
// its own so the host's network is never touched. Needs root; skips otherwise.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <pthread.h>
#include <sched.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <condition_variable>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/InterfaceNames.hpp"
#include "platform/PathMonitor.hpp"

namespace quarra {
namespace {

// Runs a command; gives its exit status and what it printed.
std::pair<int, std::string> run(const std::string& command) {
    std::string output;
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe) return {-1, "cannot start: " + command};
    std::array<char, 256> chunk{};
    while (fgets(chunk.data(), chunk.size(), pipe)) output += chunk.data();
    int status = pclose(pipe);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}

// Answers from the monitor, as they arrive on the queue it was given.
class Answers {
public:
    PathMonitor::Handler handler() {
        return [this](bool satisfied) {
            std::array<char, 16> name{};
            pthread_getname_np(pthread_self(), name.data(), name.size());
            std::lock_guard lock(mutex_);
            answers_.push_back(satisfied);
            threadNames_.emplace_back(name.data());
            changed_.notify_all();
        };
    }
    // Waits (bounded, so a broken monitor fails rather than hangs) for `count` answers.
    std::vector<bool> waitFor(std::size_t count) {
        std::unique_lock lock(mutex_);
        changed_.wait_for(lock, std::chrono::seconds(20), [&] { return answers_.size() >= count; });
        return answers_;
    }
    // Waits for `count` answers, then a while longer (beyond the monitor's
    // quiet period) in case more arrive than expected; gives them all.
    std::vector<bool> settle(std::size_t count) {
        std::unique_lock lock(mutex_);
        changed_.wait_for(lock, std::chrono::seconds(20), [&] { return answers_.size() >= count; });
        changed_.wait_for(lock, std::chrono::milliseconds(600), [&] { return answers_.size() > count; });
        return answers_;
    }
    std::vector<std::string> threadNames() {
        std::lock_guard lock(mutex_);
        return threadNames_;
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<bool> answers_;
    std::vector<std::string> threadNames_;
};

constexpr const char* kNamespacePrefix = "quarra-test-";

// Namespaces of earlier runs that died before cleaning up (their process is gone).
void removeAbandonedNamespaces() {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/run/netns", error)) {
        std::string name = entry.path().filename().string();
        if (name.rfind(kNamespacePrefix, 0) != 0) continue;
        pid_t owner = static_cast<pid_t>(std::atoi(name.c_str() + std::strlen(kNamespacePrefix)));
        if (owner > 0 && kill(owner, 0) != 0 && errno == ESRCH) run("ip netns del " + name);
    }
}

class PathMonitorNetns : public ::testing::Test {
protected:
    void SetUp() override {
        if (geteuid() != 0) GTEST_SKIP() << "network namespaces need root; the kernel path monitor test is skipped";
        removeAbandonedNamespaces();
        name_ = kNamespacePrefix + std::to_string(getpid());
        auto [status, output] = run("ip netns add " + name_);
        if (status != 0) GTEST_SKIP() << "cannot make a network namespace here (" << output << ")";
        created_ = true;
        namespaceFd_ = open(("/run/netns/" + name_).c_str(), O_RDONLY | O_CLOEXEC);
        if (namespaceFd_ < 0) GTEST_SKIP() << "cannot open the new network namespace";
    }

    void TearDown() override {
        if (namespaceFd_ >= 0) close(namespaceFd_);
        if (created_) run("ip netns del " + name_);
    }

    // `ip` with its arguments, inside the namespace.
    void ip(const std::string& arguments) {
        auto [status, output] = run("ip -n " + name_ + " " + arguments);
        ASSERT_EQ(status, 0) << "ip " << arguments << ": " << output;
    }

    // Several `ip` commands in one process, so the kernel sends them as one burst.
    void ipBatch(const std::vector<std::string>& commands) {
        std::string lines;
        for (const auto& command : commands) lines += " '" + command + "'";
        auto [status, output] = run("printf '%s\\n'" + lines + " | ip -n " + name_ + " -batch -");
        ASSERT_EQ(status, 0) << "ip -batch" << lines << ": " << output;
    }

    // Runs `body` on a thread that has entered the namespace: sockets it
    // opens (and threads it starts) belong to the namespace.
    void insideNamespace(const std::function<void()>& body) {
        bool entered = false;
        std::thread worker([&] {
            entered = setns(namespaceFd_, CLONE_NEWNET) == 0;
            if (entered) body();
        });
        worker.join();
        ASSERT_TRUE(entered) << "setns failed";
    }

    std::string name_;
    bool created_ = false;
    int namespaceFd_ = -1;
};

TEST_F(PathMonitorNetns, FollowsInterfacesAddressesAndTheDefaultRoute) {
    ip("link set lo up");
    Answers answers;
    std::shared_ptr<PathMonitor> monitor = makeNetlinkPathMonitor(makeSerialQueue("test-monitor"));
    std::vector<std::string> namesBefore;
    insideNamespace([&] {
        monitor->start(answers.handler());
        namesBefore = activeInterfaceNames();
    });
    EXPECT_TRUE(namesBefore.empty()) << "loopback is never an active interface";
    EXPECT_EQ(answers.waitFor(1), std::vector<bool>{false}) << "only loopback: no usable path";

    // An interface with an address but no default route is not enough.
    auto [vethStatus, vethOutput] = run("ip -n " + name_ + " link add q0 type veth peer name q1");
    if (vethStatus != 0) ip("link add q0 type dummy");
    ip("addr add 10.213.0.1/24 dev q0");
    ip("link set q0 up");
    if (vethStatus == 0) ip("link set q1 up");
    ip("route add default via 10.213.0.2 dev q0");
    EXPECT_EQ(answers.waitFor(2), (std::vector<bool>{false, true}));

    std::vector<std::string> namesAfter;
    insideNamespace([&] { namesAfter = activeInterfaceNames(); });
    EXPECT_NE(std::find(namesAfter.begin(), namesAfter.end(), "q0"), namesAfter.end());
    EXPECT_EQ(std::find(namesAfter.begin(), namesAfter.end(), "lo"), namesAfter.end());

    ip("route del default");
    EXPECT_EQ(answers.waitFor(3), (std::vector<bool>{false, true, false}));

    // A handler installed later hears the current answer first.
    Answers late;
    monitor->start(late.handler());
    EXPECT_EQ(late.waitFor(1), std::vector<bool>{false});

    monitor->cancel();
    for (const auto& thread : answers.threadNames()) EXPECT_EQ(thread, "test-monitor");
}

// Every change of the interface or addresses a sign-in depends on is reported
// once, even when the answer stays "usable"; a burst of messages is one change.
TEST_F(PathMonitorNetns, ReportsEachChangeOfThePathOnce) {
    ip("link set lo up");
    for (const char* pair : {"q0 type veth peer name q1", "q2 type veth peer name q3"}) {
        auto [status, output] = run("ip -n " + name_ + " link add " + pair);
        if (status != 0) GTEST_SKIP() << "cannot make veth interfaces here (" << output << ")";
    }
    ip("addr add 10.213.0.1/24 dev q0");
    ip("addr add 10.214.0.1/24 dev q2");
    for (const char* link : {"q1", "q3", "q0", "q2"}) ip(std::string("link set ") + link + " up");
    ip("route add default via 10.213.0.2 dev q0");

    Answers answers;
    std::shared_ptr<PathMonitor> monitor = makeNetlinkPathMonitor(makeSerialQueue("test-monitor"));
    insideNamespace([&] { monitor->start(answers.handler()); });
    std::vector<bool> expected{true};
    ASSERT_EQ(answers.settle(expected.size()), expected) << "usable through q0 at start";

    struct Step {
        const char* name;
        std::vector<std::string> commands;
        std::vector<bool> answers;  // what the step adds
    };
    const Step steps[] = {
        {"default route moved to q2", {"route replace default via 10.214.0.2 dev q2"}, {true}},
        {"address added on q0, which no longer carries the route", {"addr add 10.213.0.7/24 dev q0"}, {}},
        {"address added on q2", {"addr add 10.214.0.7/24 dev q2"}, {true}},
        {"a burst of addresses on q2",
         {"addr add 10.215.0.1/24 dev q2", "addr add 10.215.0.2/24 dev q2", "addr del 10.214.0.7/24 dev q2"},
         {true}},
        {"default route removed", {"route del default"}, {false}},
        {"default route restored", {"route add default via 10.214.0.2 dev q2"}, {true}},
        // The kernel drops the route with the link; the path stays unusable
        // until it is added again, however the burst is cut up.
        {"q2 bounced", {"link set q2 down", "link set q2 up"}, {false}},
        {"default route added after the bounce", {"route add default via 10.214.0.2 dev q2"}, {true}},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.name);
        ipBatch(step.commands);
        expected.insert(expected.end(), step.answers.begin(), step.answers.end());
        ASSERT_EQ(answers.settle(expected.size()), expected);
    }

    monitor->cancel();
    for (const auto& thread : answers.threadNames()) EXPECT_EQ(thread, "test-monitor");
}

}  // namespace
}  // namespace quarra
