#pragma once
// The endpoint groups of the service and what they share.
#include <optional>
#include <string>

#include <httplib.h>

#include "ServiceContext.hpp"

namespace quarra::service {

using Handler = httplib::Server::Handler;

// Set on the answer of a request whose connection a fault dropped.
inline constexpr const char* kDroppedHeader = "X-Quarra-Dropped";
// The collector's answer to a report it already stored under the same key;
// the debugger tells repeats by it.
inline constexpr const char* kRepeatAnswerText = "Report already saved";

// Runs the first matching injected fault, if any, before the handler.
Handler withFaults(ServiceContext& context, Handler handler);

// The account behind the request's bearer token, or nothing after a 401.
std::optional<std::string> requireBearer(ServiceContext& context, const httplib::Request& req,
                                         httplib::Response& res);

void installAccessRoutes(httplib::Server& server, ServiceContext& context);       // token and initiate
void installCollectorRoutes(httplib::Server& server, ServiceContext& context);    // report envelopes
void installLogRoutes(httplib::Server& server, ServiceContext& context);          // log records
void installTransactionRoutes(httplib::Server& server, ServiceContext& context);  // events, evaluation, status
void installAdminRoutes(httplib::Server& server, ServiceContext& context);        // stored data and faults
// Answers for paths and methods that no other route takes; install last.
void installFallbackRoutes(httplib::Server& server, ServiceContext& context);

}  // namespace quarra::service
