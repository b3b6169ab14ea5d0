// When the kernel's tables add up to a usable network path.
#include <gtest/gtest.h>

#include <linux/if_addr.h>
#include <linux/rtnetlink.h>
#include <net/if.h>
#include <sys/socket.h>

#include "platform/NetworkPathState.hpp"

namespace quarra {
namespace {

constexpr uint32_t kUpRunning = IFF_UP | IFF_RUNNING;
const LinkState kLoopback{1, kUpRunning | IFF_LOOPBACK};
const AddressState kLoopbackAddress{1, AF_INET, RT_SCOPE_HOST, 0};
const LinkState kEthernet{2, kUpRunning};
const AddressState kGlobalV4{2, AF_INET, RT_SCOPE_UNIVERSE, 0};
const RouteState kDefaultViaEthernet{AF_INET, 0, RT_TABLE_MAIN, RTN_UNICAST, {2}};

NetworkSnapshot connected() {
    return NetworkSnapshot{{kLoopback, kEthernet}, {kLoopbackAddress, kGlobalV4}, {kDefaultViaEthernet}};
}

TEST(PathState, NeedsAnUsableInterfaceAndADefaultRouteThroughIt) {
    struct Case {
        const char* name;
        NetworkSnapshot snapshot;
        bool satisfied;
    };
    auto with = [](auto change) {
        NetworkSnapshot s = connected();
        change(s);
        return s;
    };
    const Case cases[] = {
        {"connected", connected(), true},
        {"only loopback", NetworkSnapshot{{kLoopback}, {kLoopbackAddress}, {}}, false},
        {"loopback with a default route",
         NetworkSnapshot{{kLoopback}, {kLoopbackAddress}, {RouteState{AF_INET, 0, RT_TABLE_MAIN, RTN_UNICAST, {1}}}},
         false},
        {"interface down", with([](auto& s) { s.links[1].flags = 0; }), false},
        {"up without carrier", with([](auto& s) { s.links[1].flags = IFF_UP; }), false},
        {"no address", with([](auto& s) { s.addresses.pop_back(); }), false},
        {"link-local address only", with([](auto& s) { s.addresses[1].scope = RT_SCOPE_LINK; }), false},
        {"IPv6 address still tentative",
         with([](auto& s) { s.addresses[1] = AddressState{2, AF_INET6, RT_SCOPE_UNIVERSE, IFA_F_TENTATIVE}; }), false},
        {"settled global IPv6",
         with([](auto& s) { s.addresses[1] = AddressState{2, AF_INET6, RT_SCOPE_UNIVERSE, IFA_F_PERMANENT}; }), true},
        {"no route", with([](auto& s) { s.routes.clear(); }), false},
        {"only a subnet route", with([](auto& s) { s.routes[0].destinationLength = 24; }), false},
        {"default route in another table", with([](auto& s) { s.routes[0].table = 100; }), false},
        {"unreachable default", with([](auto& s) { s.routes[0].type = RTN_UNREACHABLE; }), false},
        {"default through a down interface",
         with([](auto& s) {
             s.links.push_back(LinkState{3, 0});
             s.routes[0].outputInterfaces = {3};
         }),
         false},
        {"multipath with one usable hop", with([](auto& s) { s.routes[0].outputInterfaces = {7, 2}; }), true},
        {"default without a device", with([](auto& s) { s.routes[0].outputInterfaces.clear(); }), true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(isPathSatisfied(c.snapshot), c.satisfied);
    }
}

}  // namespace
}  // namespace quarra
