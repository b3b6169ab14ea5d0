// The Linux path monitor: rtnetlink notifications wake a reader thread, which
// waits for the burst to end, dumps the tables again and hands the answer to
// the monitor's queue whenever the path it describes has changed.
#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <poll.h>
#include <pthread.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <mutex>
#include <optional>
#include <string>
#include <system_error>
#include <thread>
#include <utility>

#include "base/ConsoleLog.hpp"
#include "platform/PathAnswerRelay.hpp"
#include "platform/PathMonitor.hpp"
#include "platform/PathSignature.hpp"
#include "platform/RtnetlinkSnapshot.hpp"

namespace quarra {
namespace {

using Milliseconds = std::chrono::milliseconds;

// While the tables cannot be read, look again this often.
constexpr Milliseconds kRetryInterval{1000};
// One cable or address event arrives as several messages: the tables are read
// once the notifications have been quiet this long, so it is reported once.
constexpr Milliseconds kQuietPeriod{200};
// Notifications that never fall quiet still get the tables read this often.
constexpr Milliseconds kLongestBurst{2000};

class FileDescriptor {
public:
    FileDescriptor() = default;
    explicit FileDescriptor(int fd) : fd_(fd) {}
    FileDescriptor(FileDescriptor&& other) noexcept : fd_(other.release()) {}
    FileDescriptor& operator=(FileDescriptor&& other) noexcept {
        if (this != &other) {
            reset();
            fd_ = other.release();
        }
        return *this;
    }
    ~FileDescriptor() { reset(); }
    int get() const { return fd_; }
    explicit operator bool() const { return fd_ >= 0; }
    int release() { return std::exchange(fd_, -1); }
    void reset() {
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
    }

private:
    int fd_ = -1;
};

FileDescriptor openRouteSocket(uint32_t groups) {
    FileDescriptor fd(socket(AF_NETLINK, SOCK_RAW | SOCK_CLOEXEC, NETLINK_ROUTE));
    if (!fd) return fd;
    sockaddr_nl local{};
    local.nl_family = AF_NETLINK;
    local.nl_groups = groups;
    if (bind(fd.get(), reinterpret_cast<sockaddr*>(&local), sizeof local) != 0) return FileDescriptor();
    return fd;
}

struct Sockets {
    FileDescriptor events;  // notifications
    FileDescriptor dumps;   // our own dump requests
};

// Opened on the caller's thread, so they watch the caller's network namespace.
std::optional<Sockets> openSockets(std::string& problem) {
    Sockets sockets;
    sockets.events = openRouteSocket(RTMGRP_LINK | RTMGRP_IPV4_IFADDR | RTMGRP_IPV6_IFADDR | RTMGRP_IPV4_ROUTE |
                                     RTMGRP_IPV6_ROUTE);
    if (sockets.events) {
        int bufferBytes = 1 << 20;  // a burst of changes should not overflow the queue
        setsockopt(sockets.events.get(), SOL_SOCKET, SO_RCVBUF, &bufferBytes, sizeof bufferBytes);
        sockets.dumps = openRouteSocket(0);
    }
    if (sockets.dumps) {
        timeval limit{5, 0};  // a dump that never ends must not hold the reader forever
        setsockopt(sockets.dumps.get(), SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    }
    if (!sockets.dumps) {
        problem = std::error_code(errno, std::system_category()).message();
        return std::nullopt;
    }
    return sockets;
}

// Reads every pending notification; their content does not matter, the
// tables are dumped again afterwards.
void drain(int fd) {
    alignas(nlmsghdr) char buffer[16 * 1024];
    for (;;) {
        ssize_t received = recv(fd, buffer, sizeof buffer, MSG_DONTWAIT);
        if (received >= 0) continue;
        if (errno == EINTR || errno == ENOBUFS) continue;  // ENOBUFS: some were lost, the dump covers them
        return;
    }
}

enum class Wake { notified, timedOut, stop };

// Waits for notifications on `eventsFd` (reading them all) until `deadline`,
// or for ever without one; `stop` once `wakeFd` is signalled or polling fails.
Wake waitForNotification(int eventsFd, int wakeFd, std::optional<std::chrono::steady_clock::time_point> deadline) {
    for (;;) {
        int timeout = -1;
        if (deadline) {
            auto left = std::chrono::ceil<Milliseconds>(*deadline - std::chrono::steady_clock::now());
            timeout = static_cast<int>(std::max<Milliseconds::rep>(left.count(), 0));
        }
        pollfd watched[2] = {{eventsFd, POLLIN, 0}, {wakeFd, POLLIN, 0}};
        int ready = poll(watched, 2, timeout);
        if (ready < 0) {
            if (errno == EINTR) continue;
            return Wake::stop;
        }
        if (watched[1].revents) return Wake::stop;
        if (watched[0].revents & (POLLNVAL | POLLHUP)) return Wake::stop;
        // POLLERR: notifications were lost to an overflow; the dump covers them.
        if (watched[0].revents & (POLLIN | POLLERR)) {
            drain(eventsFd);
            return Wake::notified;
        }
        if (ready == 0) return Wake::timedOut;
    }
}

// After a notification: waits until the rest of its burst has arrived.
// False when the reader is to stop.
bool waitForQuiet(int eventsFd, int wakeFd) {
    auto now = std::chrono::steady_clock::now();
    const auto latest = now + kLongestBurst;
    for (;;) {
        auto deadline = std::min(now + kQuietPeriod, latest);
        switch (waitForNotification(eventsFd, wakeFd, deadline)) {
            case Wake::stop:
                return false;
            case Wake::timedOut:
                return true;
            case Wake::notified:
                now = std::chrono::steady_clock::now();
                if (now >= latest) return true;
                break;
        }
    }
}

class NetlinkPathMonitor final : public PathMonitor {
public:
    NetlinkPathMonitor(std::shared_ptr<Executor> queue, std::shared_ptr<Console> console)
        : relay_(std::move(queue)), console_(std::move(console)) {}

    ~NetlinkPathMonitor() override { cancel(); }

    void start(Handler handler) override {
        std::string problem;
        {
            std::lock_guard lifecycle(lifecycleMutex_);
            relay_.install(std::move(handler));
            if (reader_.joinable()) return;
            auto sockets = openSockets(problem);
            FileDescriptor wake(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
            if (sockets && wake) {
                wake_ = std::move(wake);
                reader_ = std::thread([this, sockets = std::move(*sockets), wakeFd = wake_.get()]() mutable {
                    run(std::move(sockets), wakeFd);
                });
                return;
            }
            if (sockets) problem = std::error_code(errno, std::system_category()).message();
        }
        reportUnwatchable(problem);  // the console is host code: not under the lock
    }

    void cancel() override {
        std::lock_guard lifecycle(lifecycleMutex_);
        if (reader_.joinable()) {
            uint64_t one = 1;
            while (write(wake_.get(), &one, sizeof one) < 0 && errno == EINTR) {
            }
            reader_.join();
            wake_.reset();  // only now: the reader may still have been polling it
        }
        // After the reader has stopped, so that no answer of its outlives the reset.
        relay_.reset();
    }

private:
    void reportUnwatchable(const std::string& problem) {
        if (console_) {
            console_->log("Network monitor unavailable (" + problem + "), assuming the network is usable");
        }
        relay_.publish(true);
    }

    // The reader thread: owns the sockets until it ends; `wakeFd` stays
    // open until it has been joined.
    void run(Sockets sockets, int wakeFd) {
        pthread_setname_np(pthread_self(), "quarra-netlink");
        const int eventsFd = sockets.events.get();
        uint32_t sequence = 0;
        bool reported = false;
        bool stale = true;
        for (;;) {
            if (stale) {
                if (auto snapshot = dumpNetworkSnapshot(sockets.dumps.get(), sequence)) {
                    relay_.publish(pathSignature(*snapshot));
                    reported = true;
                    stale = false;
                } else if (!reported) {
                    reportUnwatchable("the routing tables cannot be read");
                    reported = true;
                }
            }
            std::optional<std::chrono::steady_clock::time_point> retryAt;
            if (stale) retryAt = std::chrono::steady_clock::now() + kRetryInterval;
            switch (waitForNotification(eventsFd, wakeFd, retryAt)) {
                case Wake::stop:
                    return;
                case Wake::timedOut:
                    break;
                case Wake::notified:
                    if (!waitForQuiet(eventsFd, wakeFd)) return;
                    stale = true;
                    break;
            }
        }
    }

    PathAnswerRelay relay_;
    std::shared_ptr<Console> console_;
    std::mutex lifecycleMutex_;  // serialises start() and cancel(); guards the two below
    std::thread reader_;
    FileDescriptor wake_;  // tells the reader to stop
};

}  // namespace

std::shared_ptr<PathMonitor> makeNetlinkPathMonitor(std::shared_ptr<Executor> queue, std::shared_ptr<Console> console) {
    return std::make_shared<NetlinkPathMonitor>(std::move(queue), std::move(console));
}

}  // namespace quarra
