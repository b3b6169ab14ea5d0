// Which changes of the kernel's tables count as a new network path.
#include <gtest/gtest.h>

#include <linux/if_addr.h>
#include <linux/rtnetlink.h>
#include <net/if.h>
#include <sys/socket.h>

#include "platform/PathSignature.hpp"

namespace quarra {
namespace {

constexpr uint32_t kUpRunning = IFF_UP | IFF_RUNNING;
constexpr int kEthernet = 2;
constexpr int kWireless = 3;

AddressState v4(int interfaceIndex, uint8_t last, int prefixLength = 24) {
    return AddressState{interfaceIndex, AF_INET, RT_SCOPE_UNIVERSE, 0, prefixLength, {10, 0, uint8_t(interfaceIndex), last}};
}

AddressState v6(int interfaceIndex, uint8_t first, int scope, uint32_t flags = IFA_F_PERMANENT) {
    return AddressState{interfaceIndex, AF_INET6, scope, flags, 64, {first, 0x80, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1}};
}

RouteState defaultVia(int interfaceIndex) { return RouteState{AF_INET, 0, RT_TABLE_MAIN, RTN_UNICAST, {interfaceIndex}}; }

// Loopback, wired and wireless, both with an address; the default route is wired.
NetworkSnapshot connected() {
    return NetworkSnapshot{
        {{1, kUpRunning | IFF_LOOPBACK}, {kEthernet, kUpRunning}, {kWireless, kUpRunning}},
        {AddressState{1, AF_INET, RT_SCOPE_HOST, 0, 8, {127, 0, 0, 1}}, v4(kEthernet, 5), v4(kWireless, 7)},
        {defaultVia(kEthernet)},
    };
}

template <typename Change>
NetworkSnapshot with(NetworkSnapshot snapshot, Change change) {
    change(snapshot);
    return snapshot;
}

NetworkSnapshot offline() {
    return with(connected(), [](auto& s) { s.routes.clear(); });
}

TEST(PathSignature, ChangesWithTheRouteInterfacesAndTheirAddresses) {
    struct Case {
        const char* name;
        NetworkSnapshot before;
        NetworkSnapshot after;
        bool same;
    };
    const Case cases[] = {
        {"nothing changed", connected(), connected(), true},
        {"route moved to another interface", connected(),
         with(connected(), [](auto& s) { s.routes[0] = defaultVia(kWireless); }), false},
        {"second default route on another interface", connected(),
         with(connected(), [](auto& s) { s.routes.push_back(defaultVia(kWireless)); }), false},
        {"address added on the route's interface", connected(),
         with(connected(), [](auto& s) { s.addresses.push_back(v4(kEthernet, 9)); }), false},
        {"address on the route's interface replaced", connected(),
         with(connected(), [](auto& s) { s.addresses[1] = v4(kEthernet, 6); }), false},
        {"prefix of the route's address changed", connected(),
         with(connected(), [](auto& s) { s.addresses[1].prefixLength = 16; }), false},
        {"global IPv6 address settled on the route's interface",
         with(connected(), [](auto& s) { s.addresses.push_back(v6(kEthernet, 0x20, RT_SCOPE_UNIVERSE, IFA_F_TENTATIVE)); }),
         with(connected(), [](auto& s) { s.addresses.push_back(v6(kEthernet, 0x20, RT_SCOPE_UNIVERSE)); }), false},
        {"path became unusable", connected(), offline(), false},
        {"address added on an unrelated interface", connected(),
         with(connected(), [](auto& s) { s.addresses.push_back(v4(kWireless, 8)); }), true},
        {"link-local address added on the route's interface", connected(),
         with(connected(), [](auto& s) { s.addresses.push_back(v6(kEthernet, 0xfe, RT_SCOPE_LINK)); }), true},
        {"address flags changed", connected(),
         with(connected(), [](auto& s) { s.addresses[1].flags = IFA_F_PERMANENT | IFA_F_NOPREFIXROUTE; }), true},
        {"link flags changed, still usable", connected(),
         with(connected(), [](auto& s) { s.links[1].flags = kUpRunning | IFF_PROMISC | IFF_MULTICAST; }), true},
        {"tables listed in another order", connected(), with(connected(), [](auto& s) {
             std::swap(s.links[0], s.links[2]);
             std::swap(s.addresses[0], s.addresses[1]);
         }),
         true},
        {"unusable, with different addresses", offline(),
         with(offline(), [](auto& s) { s.addresses.push_back(v4(kEthernet, 9)); }), true},
        {"unusable for another reason", offline(),
         with(connected(), [](auto& s) { s.links[1].flags = IFF_UP; }), true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(pathSignature(c.before) == pathSignature(c.after), c.same);
    }
}

TEST(PathSignature, CarriesTheAnswer) {
    EXPECT_TRUE(pathSignature(connected()).satisfied);
    EXPECT_FALSE(pathSignature(offline()).satisfied);
    EXPECT_EQ(pathSignature(connected()).interfaces, std::vector<int>{kEthernet});
}

}  // namespace
}  // namespace quarra
