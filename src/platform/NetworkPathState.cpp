#include "platform/NetworkPathState.hpp"

#include <linux/if_addr.h>
#include <linux/rtnetlink.h>
#include <net/if.h>

#include <algorithm>

namespace quarra {
namespace {

bool linkCarries(const NetworkSnapshot& snapshot, int index) {
    auto link = std::find_if(snapshot.links.begin(), snapshot.links.end(),
                             [&](const LinkState& l) { return l.index == index; });
    if (link == snapshot.links.end()) return false;
    const uint32_t required = IFF_UP | IFF_RUNNING;
    return (link->flags & required) == required && !(link->flags & IFF_LOOPBACK);
}

// Link-local and host addresses reach nothing beyond the wire; an IPv6
// address still checking for duplicates (or found duplicate) is not usable.
bool addressIsUsable(const AddressState& address) {
    return address.scope < RT_SCOPE_LINK && !(address.flags & (IFA_F_TENTATIVE | IFA_F_DADFAILED));
}

bool interfaceIsUsable(const NetworkSnapshot& snapshot, int index) {
    if (!linkCarries(snapshot, index)) return false;
    return std::any_of(snapshot.addresses.begin(), snapshot.addresses.end(), [&](const AddressState& a) {
        return a.interfaceIndex == index && addressIsUsable(a);
    });
}

bool isDefaultRoute(const RouteState& route) {
    return route.destinationLength == 0 && route.table == RT_TABLE_MAIN && route.type == RTN_UNICAST;
}

}  // namespace

bool isPathSatisfied(const NetworkSnapshot& snapshot) {
    auto anyUsable = std::any_of(snapshot.links.begin(), snapshot.links.end(),
                                 [&](const LinkState& l) { return interfaceIsUsable(snapshot, l.index); });
    if (!anyUsable) return false;
    return std::any_of(snapshot.routes.begin(), snapshot.routes.end(), [&](const RouteState& route) {
        if (!isDefaultRoute(route)) return false;
        if (route.outputInterfaces.empty()) return true;  // no device named: any usable one will do
        return std::any_of(route.outputInterfaces.begin(), route.outputInterfaces.end(),
                           [&](int index) { return interfaceIsUsable(snapshot, index); });
    });
}

}  // namespace quarra
