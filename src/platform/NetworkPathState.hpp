#pragma once
// What the kernel says about links, addresses and routes, and the rule that
// turns it into "a usable network path exists".
#include <array>
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
    int prefixLength = 0;
    std::array<uint8_t, 16> bytes{};  // network order; an IPv4 address fills the first four
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

// Link-local and host addresses reach nothing beyond the wire; an IPv6
// address still checking for duplicates (or found duplicate) is not usable.
bool isAddressUsable(const AddressState& address);

// The interfaces a usable default route of the main table leaves through,
// sorted, each once. A default route that names no device counts every
// usable interface. Empty when there is no usable path.
std::vector<int> defaultRouteInterfaces(const NetworkSnapshot& snapshot);

// True when some interface that is not loopback is up and running with a
// global, settled address, and the main table has a unicast default route
// that leaves through such an interface.
bool isPathSatisfied(const NetworkSnapshot& snapshot);

}  // namespace quarra
