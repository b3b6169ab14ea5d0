#pragma once
// The event debugger: a plain-HTTP listener on 127.0.0.1 beside the HTTPS
// service, serving the page, the admin JSON and a stream of server-sent
// events. It has its own threads, so a slow or stalled browser holds only
// those, never the handlers that clients of the service are waiting on.
#include <httplib.h>

#include "EventFeed.hpp"
#include "ServiceContext.hpp"

namespace quarra::service {

// At most this many browser streams at once; more get 503, so the page's own
// JSON requests always find a free thread.
inline constexpr int kMostDebuggerStreams = 4;

// `port` is the one the listener is bound to: only requests naming
// 127.0.0.1 or localhost with that port are answered (no DNS rebinding).
void configureDebugger(httplib::Server& server, ServiceContext& context, EventFeed& feed, int port);

}  // namespace quarra::service
