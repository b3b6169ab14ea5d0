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

bool interfaceIsUsable(const NetworkSnapshot& snapshot, int index) {
    if (!linkCarries(snapshot, index)) return false;
    return std::any_of(snapshot.addresses.begin(), snapshot.addresses.end(), [&](const AddressState& a) {
        return a.interfaceIndex == index && isAddressUsable(a);
    });
}

bool isDefaultRoute(const RouteState& route) {
    return route.destinationLength == 0 && route.table == RT_TABLE_MAIN && route.type == RTN_UNICAST;
}

}  // namespace

bool isAddressUsable(const AddressState& address) {
    return address.scope < RT_SCOPE_LINK && !(address.flags & (IFA_F_TENTATIVE | IFA_F_DADFAILED));
}

std::vector<int> defaultRouteInterfaces(const NetworkSnapshot& snapshot) {
    std::vector<int> interfaces;
    auto addIfUsable = [&](int index) {
        if (interfaceIsUsable(snapshot, index)) interfaces.push_back(index);
    };
    for (const auto& route : snapshot.routes) {
        if (!isDefaultRoute(route)) continue;
        if (route.outputInterfaces.empty()) {
            for (const auto& link : snapshot.links) addIfUsable(link.index);
        } else {
            for (int index : route.outputInterfaces) addIfUsable(index);
        }
    }
    std::sort(interfaces.begin(), interfaces.end());
    interfaces.erase(std::unique(interfaces.begin(), interfaces.end()), interfaces.end());
    return interfaces;
}

bool isPathSatisfied(const NetworkSnapshot& snapshot) { return !defaultRouteInterfaces(snapshot).empty(); }

}  // namespace quarra
