#include "Routes.hpp"

#include <openssl/ssl.h>
#include <sys/socket.h>

#include "HttpJson.hpp"

namespace quarra::service {
namespace {

// Ends the TCP connection under the request before any answer is written;
// the server's own write then fails and it closes the socket.
void dropConnection(const httplib::Request& req, httplib::Response& res) {
    if (req.ssl != nullptr) {
        int fd = SSL_get_fd(req.ssl);
        if (fd >= 0) ::shutdown(fd, SHUT_RDWR);
    }
    res.status = 500;
    res.set_header("Connection", "close");
    // Never reaches the client (the socket is gone); tells the debugger.
    res.set_header(kDroppedHeader, "1");
}

void answerFault(const Fault& fault, const httplib::Request& req, httplib::Response& res) {
    int status = fault.httpStatus.value_or(200);
    std::string code = fault.responseCode.value_or(std::to_string(status));
    if (replyStyleFor(req.path) == ReplyStyle::collector) {
        sendJson(res, status, {{"ResponseCode", code}, {"ResponseText", "Injected fault"}});
    } else {
        sendJson(res, status, {{"errorCode", code}, {"errorMessage", "Injected fault"}});
    }
}

}  // namespace

Handler withFaults(ServiceContext& context, Handler handler) {
    return [&context, handler = std::move(handler)](const httplib::Request& req, httplib::Response& res) {
        auto fault = context.faults.take(req.path);
        if (!fault) return handler(req, res);
        if (fault->delay.count() > 0 && !context.faults.wait(fault->delay)) {
            sendError(res, req, 503, "The service is stopping");
            res.set_header("Connection", "close");
            return;
        }
        if (fault->drop) return dropConnection(req, res);
        if (fault->responseCode || fault->httpStatus) return answerFault(*fault, req, res);
        handler(req, res);
    };
}

std::optional<std::string> requireBearer(ServiceContext& context, const httplib::Request& req,
                                         httplib::Response& res) {
    auto check = context.accounts.checkBearer(req.get_header_value("Authorization"));
    if (!check.account) {
        sendError(res, ReplyStyle::platform, 401, check.problem);
        res.set_header("WWW-Authenticate", "Bearer realm=\"quarra-service\"");
    }
    return check.account;
}

}  // namespace quarra::service
