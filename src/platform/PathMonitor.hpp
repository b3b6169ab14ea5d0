#pragma once
// The Linux path monitor (the PathMonitor interface is public).
#include <memory>

#include <quarra/Executor.hpp>
#include <quarra/PathMonitor.hpp>

namespace quarra {

class Console;

// The Linux monitor over rtnetlink (links, addresses, routes). The path is
// satisfied when a non-loopback interface is up and running with a global
// address and the main routing table has a default route through such an
// interface. The handler runs on `queue` (the library's worker), or, when none
// is given, on the monitor's own reader thread and on the thread calling
// start(). The sockets are opened by the first start(),
// in the calling thread's network namespace. When the system cannot be
// watched the monitor says so on `console` (when given) and reports a usable
// path once, so that the network calls are still tried.
std::shared_ptr<PathMonitor> makeNetlinkPathMonitor(std::shared_ptr<Executor> queue = nullptr,
                                                    std::shared_ptr<Console> console = nullptr);

}  // namespace quarra
