#pragma once
// What the kernel says about links, addresses and routes, and the rule that
// turns it into "a usable network path exists".
#include <cstdint>
#include <vector>

namespace quarra {

struct LinkState {
    int index = 0;
    uint32_t flags = 0;  // IFF_* flags
};

struct AddressState {
    int interfaceIndex = 0;
    int family = 0;      // AF_INET or AF_INET6
    int scope = 0;       // RT_SCOPE_*
    uint32_t flags = 0;  // IFA_F_* flags
};

struct RouteState {
    int family = 0;
    int destinationLength = 0;
    uint32_t table = 0;
    int type = 0;                             // RTN_*
    std::vector<int> outputInterfaces;        // RTA_OIF and multipath next hops
};

struct NetworkSnapshot {
    std::vector<LinkState> links;
    std::vector<AddressState> addresses;
    std::vector<RouteState> routes;
};

// True when some interface that is not loopback is up and running with a
// global, settled address, and the main table has a unicast default route
// that leaves through such an interface.
bool isPathSatisfied(const NetworkSnapshot& snapshot);

}  // namespace quarra
