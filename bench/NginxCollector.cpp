#include "NginxCollector.hpp"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

#include "support/HttpsTestServer.hpp"

namespace quarra::bench {
namespace {

constexpr const char* kStored = R"({"ResponseCode":"0","ResponseText":"stored"})";
constexpr const char* kRefused = R"({"ResponseCode":"1","ResponseText":"refused"})";

// nginx lives in sbin, which an unprivileged PATH often leaves out.
std::string findNginx() {
    std::string directories = std::getenv("PATH") ? std::getenv("PATH") : "";
    directories += ":/usr/sbin:/sbin:/usr/local/sbin";
    std::istringstream list(directories);
    for (std::string directory; std::getline(list, directory, ':');) {
        if (directory.empty()) continue;
        std::string candidate = directory + "/nginx";
        if (::access(candidate.c_str(), X_OK) == 0) return candidate;
    }
    return {};
}

int connectTo(int port) {
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return -1;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// Ports the kernel hands out now; all are held open together so that they differ.
std::array<int, 4> freePorts() {
    std::array<int, 4> ports{};
    std::array<int, 4> sockets{};
    for (size_t i = 0; i < ports.size(); ++i) {
        sockets[i] = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (sockets[i] >= 0 && ::bind(sockets[i], reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
            ::getsockname(sockets[i], reinterpret_cast<sockaddr*>(&address), &length) == 0) {
            ports[i] = ntohs(address.sin_port);
        }
    }
    for (int fd : sockets) {
        if (fd >= 0) ::close(fd);
    }
    return ports;
}

std::string lastLine(const std::string& path) {
    std::ifstream file(path);
    std::string line, tail;
    while (std::getline(file, line)) tail = line;
    return tail;
}

}  // namespace

std::unique_ptr<NginxCollector> NginxCollector::start(std::string& whyNot) {
    const std::string nginx = findNginx();
    if (nginx.empty()) {
        whyNot = "nginx is not installed (scripts/setup.sh installs nginx-light)";
        return nullptr;
    }
    std::unique_ptr<NginxCollector> collector(new NginxCollector);
    const auto ports = freePorts();
    collector->http2Port_ = ports[0];
    collector->http1Port_ = ports[1];
    collector->refusingPort_ = ports[2];
    collector->statusPort_ = ports[3];
    const std::string dir = collector->directory_.path().string();
    const std::string conf = dir + "/nginx.conf";
    std::ofstream(conf) << collector->configuration();

    const std::string prefix = dir + "/";
    const std::string errorLog = dir + "/error.log";
    const pid_t parent = ::getpid();
    const pid_t pid = ::fork();
    if (pid < 0) {
        whyNot = "fork failed";
        return nullptr;
    }
    if (pid == 0) {
        // nginx must not outlive a benchmark that crashes.
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (::getppid() != parent) ::_exit(127);
        ::execl(nginx.c_str(), nginx.c_str(), "-p", prefix.c_str(), "-c", conf.c_str(), "-e", errorLog.c_str(),
                static_cast<char*>(nullptr));
        ::_exit(127);
    }
    collector->pid_ = pid;
    if (!collector->waitUntilServing(whyNot)) return nullptr;
    return collector;
}

NginxCollector* NginxCollector::shared(std::string& whyNot) {
    static std::string failure;
    static std::unique_ptr<NginxCollector> instance = start(failure);
    whyNot = failure;
    return instance.get();
}

NginxCollector::~NginxCollector() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGTERM);  // fast shutdown: the master ends its workers
    for (int i = 0; i < 500; ++i) {
        if (::waitpid(pid_, nullptr, WNOHANG) == pid_) return;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
}

std::string NginxCollector::configuration() const {
    const auto certificate = testing::trustedServerCertificate();
    const std::string dir = directory_.path().string();
    std::ostringstream conf;
    conf << "daemon off;\n"
         << "master_process on;\n"
         // One worker leaves the other core to the client being measured.
         << "worker_processes 1;\n"
         << (::geteuid() == 0 ? "user root;\n" : "")
         << "pid " << dir << "/nginx.pid;\n"
         << "error_log " << dir << "/error.log warn;\n"
         << "events { worker_connections 1024; }\n"
         << "http {\n"
         // A log line per report would put the disk into every figure.
         << "  access_log off;\n"
         << "  client_body_temp_path " << dir << "/body;\n"
         << "  proxy_temp_path " << dir << "/proxy;\n"
         << "  fastcgi_temp_path " << dir << "/fastcgi;\n"
         << "  uwsgi_temp_path " << dir << "/uwsgi;\n"
         << "  scgi_temp_path " << dir << "/scgi;\n"
         << "  keepalive_requests 100000;\n"
         << "  keepalive_timeout 300s;\n"
         << "  http2_max_concurrent_streams 128;\n"
         << "  ssl_certificate " << certificate.certificate.string() << ";\n"
         << "  ssl_certificate_key " << certificate.privateKey.string() << ";\n"
         << "  default_type application/json;\n";
    auto collectorServer = [&](int port, const char* listenOptions, const char* answer) {
        conf << "  server {\n"
             << "    listen 127.0.0.1:" << port << " ssl" << listenOptions << ";\n"
             << "    location /api/data/collect/ { return 200 '" << answer << "'; }\n"
             << "  }\n";
    };
    collectorServer(http2Port_, " http2", kStored);
    collectorServer(http1Port_, "", kStored);
    collectorServer(refusingPort_, " http2", kRefused);
    conf << "  server {\n"
         << "    listen 127.0.0.1:" << statusPort_ << ";\n"
         << "    location = /status { stub_status; }\n"
         << "  }\n"
         << "}\n";
    return conf.str();
}

bool NginxCollector::waitUntilServing(std::string& whyNot) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
        int status = 0;
        if (::waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            whyNot = "nginx did not start: " + lastLine(directory_.path() / "error.log");
            return false;
        }
        // The status page answers once the master has bound every port.
        if (served()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    whyNot = "nginx did not answer within 10 s";
    return false;
}

std::optional<NginxCollector::Served> NginxCollector::served() const {
    const int fd = connectTo(statusPort_);
    if (fd < 0) return std::nullopt;
    const std::string request = "GET /status HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n";
    std::string answer;
    if (::send(fd, request.data(), request.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(request.size())) {
        char buffer[1024];
        for (ssize_t got; (got = ::recv(fd, buffer, sizeof buffer, 0)) > 0;) {
            answer.append(buffer, static_cast<size_t>(got));
        }
    }
    ::close(fd);
    // "server accepts handled requests\n <accepts> <handled> <requests>"
    const auto heading = answer.find("accepts handled requests");
    if (heading == std::string::npos) return std::nullopt;
    std::istringstream figures(answer.substr(answer.find('\n', heading) + 1));
    Served served;
    long handled = 0;
    if (!(figures >> served.connections >> handled >> served.requests)) return std::nullopt;
    return served;
}

double NginxCollector::workerCpuSeconds() const {
    const std::string master = std::to_string(pid_);
    std::ifstream children("/proc/" + master + "/task/" + master + "/children");
    const auto ticksPerSecond = static_cast<double>(::sysconf(_SC_CLK_TCK));
    double seconds = 0;
    for (std::string worker; children >> worker;) {
        std::ifstream stat("/proc/" + worker + "/stat");
        std::string line;
        std::getline(stat, line);
        // After the command in parentheses: state, then 10 fields, then utime and stime in ticks.
        std::istringstream fields(line.substr(line.rfind(')') + 2));
        std::string skipped;
        for (int i = 0; i < 11; ++i) fields >> skipped;
        long long user = 0, system = 0;
        if (fields >> user >> system) seconds += static_cast<double>(user + system) / ticksPerSecond;
    }
    return seconds;
}

}  // namespace quarra::bench
