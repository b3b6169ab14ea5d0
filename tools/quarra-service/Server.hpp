#pragma once
// Puts every route and the server-wide answers (errors, exceptions, limits,
// request lines) onto an HTTPS server.
#include <httplib.h>

#include "ServiceContext.hpp"

namespace quarra::service {

// Request bodies above this are refused with 413.
inline constexpr std::size_t kMaxBodyBytes = 1024 * 1024;

void configureServer(httplib::Server& server, ServiceContext& context, bool logRequests);

}  // namespace quarra::service
