#pragma once
// Reading links, addresses and routes from the kernel over rtnetlink.
#include <cstddef>
#include <cstdint>
#include <optional>

#include "platform/NetworkPathState.hpp"

namespace quarra {

enum class NetlinkBatch {
    incomplete,   // more messages of the dump follow
    done,         // the dump ended
    interrupted,  // the kernel's tables changed during the dump: dump again
    failed,       // an error message, or bytes that are not rtnetlink messages
};

// Adds the link, address and route messages in `data` whose sequence number
// is `sequence` to `snapshot`; other messages are skipped. Never reads
// outside `data`, whatever it holds.
NetlinkBatch readRtnetlinkMessages(const uint8_t* data, std::size_t length, uint32_t sequence,
                                   NetworkSnapshot& snapshot);

// Dumps the three tables through `socket` (a bound NETLINK_ROUTE socket),
// numbering requests from `sequence`. None when the kernel cannot be read.
std::optional<NetworkSnapshot> dumpNetworkSnapshot(int socket, uint32_t& sequence);

}  // namespace quarra
