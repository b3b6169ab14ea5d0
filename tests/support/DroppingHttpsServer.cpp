#include "support/DroppingHttpsServer.hpp"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <openssl/ssl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace quarra::testing {
namespace {

// Binds a TCP socket to an ephemeral port on 127.0.0.1; -1 on failure.
int boundLoopbackSocket(int& port) {
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return -1;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        ::close(fd);
        return -1;
    }
    port = ntohs(address.sin_port);
    return fd;
}

}  // namespace

DroppingHttpsServer::DroppingHttpsServer(TestCertificate certificate) {
    context_ = SSL_CTX_new(TLS_server_method());
    if (!context_ || SSL_CTX_use_certificate_chain_file(context_, certificate.certificate.c_str()) != 1 ||
        SSL_CTX_use_PrivateKey_file(context_, certificate.privateKey.c_str(), SSL_FILETYPE_PEM) != 1) {
        ADD_FAILURE() << "dropping server could not load " << certificate.certificate;
        return;
    }
    listener_ = boundLoopbackSocket(port_);
    if (listener_ < 0 || ::listen(listener_, 16) != 0) {
        ADD_FAILURE() << "dropping server could not listen on 127.0.0.1";
        return;
    }
    thread_ = std::thread([this] { serve(); });
}

DroppingHttpsServer::~DroppingHttpsServer() {
    if (listener_ >= 0) ::shutdown(listener_, SHUT_RDWR);  // wakes the blocked accept()
    if (thread_.joinable()) thread_.join();
    if (listener_ >= 0) ::close(listener_);
    if (context_) SSL_CTX_free(context_);
}

void DroppingHttpsServer::serve() {
    for (;;) {
        int connection = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (connection < 0) return;
        dropOne(connection);
    }
}

void DroppingHttpsServer::dropOne(int connection) {
    // A client that never sends must not keep the server from stopping.
    timeval timeout{.tv_sec = 5, .tv_usec = 0};
    ::setsockopt(connection, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    SSL* ssl = SSL_new(context_);
    if (ssl && SSL_set_fd(ssl, connection) == 1 && SSL_accept(ssl) == 1) {
        std::string received;
        char buffer[4096];
        while (received.find("\r\n\r\n") == std::string::npos) {
            int read = SSL_read(ssl, buffer, sizeof buffer);
            if (read <= 0) break;
            received.append(buffer, static_cast<size_t>(read));
        }
        if (received.find("\r\n\r\n") != std::string::npos) ++dropped_;
    }
    // No close_notify and a zero linger: the client sees the connection reset.
    linger abort{.l_onoff = 1, .l_linger = 0};
    ::setsockopt(connection, SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
    if (ssl) SSL_free(ssl);
    ::close(connection);
}

RefusingPort::RefusingPort() {
    // Bound but never listening: the kernel refuses every connection to it,
    // and no other process can take the port meanwhile.
    socket_ = boundLoopbackSocket(port_);
    if (socket_ < 0) ADD_FAILURE() << "could not reserve a port on 127.0.0.1";
}

RefusingPort::~RefusingPort() {
    if (socket_ >= 0) ::close(socket_);
}

SilentPort::SilentPort() {
    listener_ = boundLoopbackSocket(port_);
    if (listener_ < 0 || ::listen(listener_, 16) != 0 ||
        ::fcntl(listener_, F_SETFL, ::fcntl(listener_, F_GETFL) | O_NONBLOCK) != 0) {
        ADD_FAILURE() << "silent port could not listen on 127.0.0.1";
    }
}

SilentPort::~SilentPort() {
    for (int connection : taken_) ::close(connection);
    if (listener_ >= 0) ::close(listener_);
}

size_t SilentPort::connectionCount() {
    // Connections wait in the listen queue, also once the client has closed
    // them; taking them out counts them without ever answering.
    for (;;) {
        int connection = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (connection < 0) break;
        taken_.push_back(connection);
    }
    return taken_.size();
}

}  // namespace quarra::testing
