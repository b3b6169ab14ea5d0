#pragma once
// Turns one finished exchange with a client of the service into an event of
// the debugger's feed: what kind of call it was, for which session, what was
// sent and what the service answered. Credentials never go into an event.
#include <optional>

#include <httplib.h>
#include <nlohmann/json.hpp>

namespace quarra::service {

// Nothing for the admin paths (they are the debugger's own traffic).
std::optional<nlohmann::json> describeExchange(const httplib::Request& req, const httplib::Response& res);

}  // namespace quarra::service
