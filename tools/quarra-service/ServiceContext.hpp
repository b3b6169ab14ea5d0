#pragma once
// What every route needs; owned by main and outliving the server.
#include <string>

#include "Accounts.hpp"
#include "EventFeed.hpp"
#include "Faults.hpp"
#include "ServiceSettings.hpp"
#include "Storage.hpp"

namespace quarra::service {

struct ServiceContext {
    const ServiceSettings& settings;
    const std::string baseUrl;  // "https://127.0.0.1:PORT", no trailing slash
    Storage& storage;
    Accounts& accounts;
    Faults& faults;
    EventFeed& feed;  // every answered request, for the event debugger
};

}  // namespace quarra::service
