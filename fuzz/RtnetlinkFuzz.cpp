// Any bytes as one datagram of an rtnetlink dump (links, addresses, routes):
// reading must stay inside the buffer (AddressSanitizer sees the exact
// length), never add more entries than the bytes can hold, and the path rule
// must give each usable interface once, sorted, and only known links.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>

#include "platform/NetworkPathState.hpp"
#include "platform/RtnetlinkSnapshot.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace quarra;
    // The dump's sequence number is the first message's, so that the
    // fuzzer's messages are read rather than skipped.
    uint32_t sequence = 1;
    if (size >= 12) std::memcpy(&sequence, data + 8, sizeof sequence);

    NetworkSnapshot snapshot;
    (void)readRtnetlinkMessages(data, size, sequence, snapshot);

    // Each message takes at least a 16-byte header; each interface of a
    // route at least an 8-byte attribute or next hop.
    const size_t entries = snapshot.links.size() + snapshot.addresses.size() + snapshot.routes.size();
    if (entries > size / 16) __builtin_trap();
    size_t routeInterfaces = 0;
    for (const auto& route : snapshot.routes) routeInterfaces += route.outputInterfaces.size();
    if (routeInterfaces > size / 8) __builtin_trap();

    const auto interfaces = defaultRouteInterfaces(snapshot);
    if (std::adjacent_find(interfaces.begin(), interfaces.end(), std::greater_equal<int>()) != interfaces.end()) {
        __builtin_trap();
    }
    for (int index : interfaces) {
        if (std::none_of(snapshot.links.begin(), snapshot.links.end(), [&](const LinkState& l) { return l.index == index; })) {
            __builtin_trap();
        }
    }
    if (isPathSatisfied(snapshot) == interfaces.empty()) __builtin_trap();
    return 0;
}
