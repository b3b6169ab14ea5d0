#include "platform/RtnetlinkSnapshot.hpp"

#include <linux/if_addr.h>
#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <sys/socket.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <vector>

namespace quarra {
namespace {

constexpr std::size_t align4(std::size_t length) { return (length + 3) & ~std::size_t(3); }

// Copies a header out of the buffer: the bytes need not be aligned.
template <typename T>
bool readStruct(const uint8_t* data, std::size_t length, T& out) {
    if (length < sizeof(T)) return false;
    std::memcpy(&out, data, sizeof(T));
    return true;
}

struct Attribute {
    uint16_t type;
    const uint8_t* payload;
    std::size_t length;
};

// Calls `visit` for every well-formed attribute in [data, data + length).
template <typename Visit>
void forEachAttribute(const uint8_t* data, std::size_t length, Visit visit) {
    std::size_t offset = 0;
    while (offset + sizeof(rtattr) <= length) {
        rtattr header{};
        std::memcpy(&header, data + offset, sizeof header);
        if (header.rta_len < sizeof(rtattr) || header.rta_len > length - offset) return;
        visit(Attribute{static_cast<uint16_t>(header.rta_type & NLA_TYPE_MASK), data + offset + sizeof(rtattr),
                        header.rta_len - sizeof(rtattr)});
        offset += align4(header.rta_len);
    }
}

std::optional<uint32_t> attributeU32(const Attribute& attribute) {
    uint32_t value = 0;
    if (!readStruct(attribute.payload, attribute.length, value)) return std::nullopt;
    return value;
}

// An IPv4 or IPv6 address; a payload of any other size is ignored.
bool readAddressBytes(const Attribute& attribute, std::array<uint8_t, 16>& bytes) {
    if (attribute.length != 4 && attribute.length != 16) return false;
    bytes = {};
    std::memcpy(bytes.data(), attribute.payload, attribute.length);
    return true;
}

void readLink(const uint8_t* body, std::size_t length, NetworkSnapshot& snapshot) {
    ifinfomsg info{};
    if (!readStruct(body, length, info)) return;
    snapshot.links.push_back(LinkState{info.ifi_index, info.ifi_flags});
}

void readAddress(const uint8_t* body, std::size_t length, NetworkSnapshot& snapshot) {
    ifaddrmsg info{};
    if (!readStruct(body, length, info)) return;
    AddressState address{static_cast<int>(info.ifa_index), info.ifa_family, info.ifa_scope, info.ifa_flags,
                         info.ifa_prefixlen, {}};
    std::size_t header = align4(sizeof(ifaddrmsg));
    bool haveLocal = false;
    if (length > header) {
        forEachAttribute(body + header, length - header, [&](const Attribute& attribute) {
            if (attribute.type == IFA_FLAGS) {
                // The 8-bit field cannot hold every flag; the attribute can.
                if (auto flags = attributeU32(attribute)) address.flags = *flags;
            } else if (attribute.type == IFA_LOCAL) {
                // On a point-to-point link IFA_ADDRESS is the peer's; IFA_LOCAL is ours.
                haveLocal = readAddressBytes(attribute, address.bytes) || haveLocal;
            } else if (attribute.type == IFA_ADDRESS && !haveLocal) {
                readAddressBytes(attribute, address.bytes);
            }
        });
    }
    snapshot.addresses.push_back(address);
}

void readNextHops(const Attribute& attribute, RouteState& route) {
    std::size_t offset = 0;
    while (offset + sizeof(rtnexthop) <= attribute.length) {
        rtnexthop hop{};
        std::memcpy(&hop, attribute.payload + offset, sizeof hop);
        if (hop.rtnh_len < sizeof(rtnexthop) || hop.rtnh_len > attribute.length - offset) return;
        route.outputInterfaces.push_back(hop.rtnh_ifindex);
        offset += align4(hop.rtnh_len);
    }
}

void readRoute(const uint8_t* body, std::size_t length, NetworkSnapshot& snapshot) {
    rtmsg info{};
    if (!readStruct(body, length, info)) return;
    RouteState route{info.rtm_family, info.rtm_dst_len, info.rtm_table, info.rtm_type, {}};
    std::size_t header = align4(sizeof(rtmsg));
    if (length > header) {
        forEachAttribute(body + header, length - header, [&](const Attribute& attribute) {
            if (attribute.type == RTA_TABLE) {
                if (auto table = attributeU32(attribute)) route.table = *table;
            } else if (attribute.type == RTA_OIF) {
                if (auto index = attributeU32(attribute)) route.outputInterfaces.push_back(static_cast<int>(*index));
            } else if (attribute.type == RTA_MULTIPATH) {
                readNextHops(attribute, route);
            }
        });
    }
    snapshot.routes.push_back(std::move(route));
}

bool sendDumpRequest(int socket, uint16_t type, uint32_t sequence) {
    // The body is zeroed: family AF_UNSPEC, every table. The union makes room
    // for the largest of the three request headers.
    struct {
        nlmsghdr header;
        union {
            ifinfomsg link;
            ifaddrmsg address;
            rtmsg route;
        } body;
    } request{};
    static_assert(sizeof(request.body) >= sizeof(ifinfomsg) && sizeof(request.body) >= sizeof(rtmsg));
    std::size_t bodySize = type == RTM_GETLINK ? sizeof(ifinfomsg) : type == RTM_GETADDR ? sizeof(ifaddrmsg)
                                                                                          : sizeof(rtmsg);
    request.header.nlmsg_len = static_cast<uint32_t>(NLMSG_LENGTH(bodySize));
    request.header.nlmsg_type = type;
    request.header.nlmsg_flags = NLM_F_REQUEST | NLM_F_DUMP;
    request.header.nlmsg_seq = sequence;
    sockaddr_nl kernel{};
    kernel.nl_family = AF_NETLINK;
    for (;;) {
        ssize_t sent = sendto(socket, &request, request.header.nlmsg_len, 0, reinterpret_cast<sockaddr*>(&kernel),
                              sizeof kernel);
        if (sent == static_cast<ssize_t>(request.header.nlmsg_len)) return true;
        if (sent < 0 && errno == EINTR) continue;
        return false;
    }
}

NetlinkBatch receiveDump(int socket, uint32_t sequence, NetworkSnapshot& snapshot) {
    std::vector<uint8_t> buffer(64 * 1024);
    for (;;) {
        sockaddr_nl sender{};
        iovec part{buffer.data(), buffer.size()};
        msghdr message{};
        message.msg_name = &sender;
        message.msg_namelen = sizeof sender;
        message.msg_iov = &part;
        message.msg_iovlen = 1;
        ssize_t received = recvmsg(socket, &message, 0);
        if (received < 0) {
            if (errno == EINTR) continue;
            return NetlinkBatch::failed;  // includes the receive time-out
        }
        if (message.msg_flags & MSG_TRUNC) return NetlinkBatch::failed;
        if (sender.nl_pid != 0) continue;  // only the kernel speaks for the tables
        auto batch = readRtnetlinkMessages(buffer.data(), static_cast<std::size_t>(received), sequence, snapshot);
        if (batch != NetlinkBatch::incomplete) return batch;
    }
}

}  // namespace

NetlinkBatch readRtnetlinkMessages(const uint8_t* data, std::size_t length, uint32_t sequence,
                                   NetworkSnapshot& snapshot) {
    bool interrupted = false;
    std::size_t offset = 0;
    while (offset < length) {
        nlmsghdr header{};
        if (!readStruct(data + offset, length - offset, header)) return NetlinkBatch::failed;
        if (header.nlmsg_len < sizeof(nlmsghdr) || header.nlmsg_len > length - offset) return NetlinkBatch::failed;
        const uint8_t* body = data + offset + align4(sizeof(nlmsghdr));
        std::size_t bodyLength = header.nlmsg_len - std::min<std::size_t>(header.nlmsg_len, align4(sizeof(nlmsghdr)));
        offset += std::min(length - offset, align4(header.nlmsg_len));
        if (header.nlmsg_seq != sequence) continue;
        if (header.nlmsg_flags & NLM_F_DUMP_INTR) interrupted = true;
        switch (header.nlmsg_type) {
            case NLMSG_DONE:
                return interrupted ? NetlinkBatch::interrupted : NetlinkBatch::done;
            case NLMSG_ERROR:
            case NLMSG_OVERRUN:
                return NetlinkBatch::failed;
            case RTM_NEWLINK:
                readLink(body, bodyLength, snapshot);
                break;
            case RTM_NEWADDR:
                readAddress(body, bodyLength, snapshot);
                break;
            case RTM_NEWROUTE:
                readRoute(body, bodyLength, snapshot);
                break;
            default:
                break;
        }
    }
    return interrupted ? NetlinkBatch::interrupted : NetlinkBatch::incomplete;
}

std::optional<NetworkSnapshot> dumpNetworkSnapshot(int socket, uint32_t& sequence) {
    constexpr int kAttempts = 3;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        NetworkSnapshot snapshot;
        NetlinkBatch outcome = NetlinkBatch::done;
        for (uint16_t type : {RTM_GETLINK, RTM_GETADDR, RTM_GETROUTE}) {
            uint32_t current = ++sequence;
            if (!sendDumpRequest(socket, type, current)) return std::nullopt;
            outcome = receiveDump(socket, current, snapshot);
            if (outcome != NetlinkBatch::done) break;
        }
        if (outcome == NetlinkBatch::done) return snapshot;
        if (outcome == NetlinkBatch::failed) return std::nullopt;
    }
    return std::nullopt;
}

}  // namespace quarra
