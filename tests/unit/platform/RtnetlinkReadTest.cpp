// Reading rtnetlink dump messages, including damaged ones.
#include <gtest/gtest.h>

#include <linux/if_addr.h>
#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <net/if.h>
#include <sys/socket.h>

#include <array>
#include <cstring>
#include <vector>

#include "platform/RtnetlinkSnapshot.hpp"

namespace quarra {
namespace {

// Builds a buffer of netlink messages the way the kernel lays them out.
class MessageWriter {
public:
    template <typename Body>
    MessageWriter& message(uint16_t type, uint32_t sequence, const Body& body,
                           const std::vector<std::pair<uint16_t, std::vector<uint8_t>>>& attributes = {},
                           uint16_t flags = NLM_F_MULTI) {
        std::vector<uint8_t> payload(NLMSG_ALIGN(sizeof(Body)));
        std::memcpy(payload.data(), &body, sizeof(Body));
        for (const auto& [attributeType, data] : attributes) {
            rtattr header{static_cast<unsigned short>(RTA_LENGTH(data.size())), attributeType};
            std::vector<uint8_t> attribute(RTA_SPACE(data.size()));
            std::memcpy(attribute.data(), &header, sizeof header);
            std::memcpy(attribute.data() + RTA_LENGTH(0), data.data(), data.size());
            payload.insert(payload.end(), attribute.begin(), attribute.end());
        }
        nlmsghdr header{static_cast<uint32_t>(NLMSG_LENGTH(payload.size())), type, flags, sequence, 0};
        std::vector<uint8_t> bytes(NLMSG_SPACE(payload.size()));
        std::memcpy(bytes.data(), &header, sizeof header);
        std::memcpy(bytes.data() + NLMSG_HDRLEN, payload.data(), payload.size());
        buffer_.insert(buffer_.end(), bytes.begin(), bytes.end());
        return *this;
    }
    MessageWriter& done(uint32_t sequence, uint16_t flags = NLM_F_MULTI) {
        return message(NLMSG_DONE, sequence, int32_t{0}, {}, flags);
    }
    const std::vector<uint8_t>& bytes() const { return buffer_; }

private:
    std::vector<uint8_t> buffer_;
};

std::vector<uint8_t> u32(uint32_t value) {
    std::vector<uint8_t> bytes(4);
    std::memcpy(bytes.data(), &value, 4);
    return bytes;
}

ifinfomsg link(int index, unsigned flags) {
    ifinfomsg info{};
    info.ifi_index = index;
    info.ifi_flags = flags;
    return info;
}

ifaddrmsg address(int index, unsigned char scope) {
    ifaddrmsg info{};
    info.ifa_family = AF_INET6;
    info.ifa_index = static_cast<uint32_t>(index);
    info.ifa_scope = scope;
    return info;
}

rtmsg defaultRoute() {
    rtmsg info{};
    info.rtm_family = AF_INET;
    info.rtm_table = RT_TABLE_UNSPEC;  // the real table travels in RTA_TABLE
    info.rtm_type = RTN_UNICAST;
    return info;
}

TEST(RtnetlinkRead, ReadsLinksAddressesAndRoutes) {
    rtnexthop hop{sizeof(rtnexthop), 0, 0, 5};
    std::vector<uint8_t> multipath(sizeof hop);
    std::memcpy(multipath.data(), &hop, sizeof hop);
    MessageWriter writer;
    writer.message(RTM_NEWLINK, 9, link(2, IFF_UP | IFF_RUNNING))
        .message(RTM_NEWADDR, 9, address(2, RT_SCOPE_UNIVERSE), {{IFA_FLAGS, u32(IFA_F_TENTATIVE)}})
        .message(RTM_NEWROUTE, 9, defaultRoute(), {{RTA_TABLE, u32(RT_TABLE_MAIN)}, {RTA_OIF, u32(2)}})
        .message(RTM_NEWROUTE, 9, defaultRoute(), {{RTA_MULTIPATH, multipath}})
        .message(RTM_NEWLINK, 8, link(3, IFF_UP))  // an older dump's leftover
        .done(9);

    NetworkSnapshot snapshot;
    EXPECT_EQ(readRtnetlinkMessages(writer.bytes().data(), writer.bytes().size(), 9, snapshot), NetlinkBatch::done);
    ASSERT_EQ(snapshot.links.size(), 1u);
    EXPECT_EQ(snapshot.links[0].index, 2);
    EXPECT_EQ(snapshot.links[0].flags, unsigned(IFF_UP | IFF_RUNNING));
    ASSERT_EQ(snapshot.addresses.size(), 1u);
    EXPECT_EQ(snapshot.addresses[0].flags, uint32_t(IFA_F_TENTATIVE)) << "the flags attribute wins";
    ASSERT_EQ(snapshot.routes.size(), 2u);
    EXPECT_EQ(snapshot.routes[0].table, uint32_t(RT_TABLE_MAIN));
    EXPECT_EQ(snapshot.routes[0].outputInterfaces, std::vector<int>{2});
    EXPECT_EQ(snapshot.routes[1].outputInterfaces, std::vector<int>{5});
}

TEST(RtnetlinkRead, ReadsTheAddressAndItsPrefix) {
    struct Case {
        const char* name;
        int family;
        std::vector<std::pair<uint16_t, std::vector<uint8_t>>> attributes;
        std::array<uint8_t, 16> bytes;
    };
    const std::vector<uint8_t> local{10, 1, 2, 3};
    const std::vector<uint8_t> peer{10, 1, 2, 99};
    const std::vector<uint8_t> v6{0x20, 0x01, 0x0d, 0xb8, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 7};
    const Case cases[] = {
        {"IPv4, address then local", AF_INET, {{IFA_ADDRESS, local}, {IFA_LOCAL, local}}, {10, 1, 2, 3}},
        {"point-to-point: local wins over the peer", AF_INET, {{IFA_ADDRESS, peer}, {IFA_LOCAL, local}},
         {10, 1, 2, 3}},
        {"point-to-point, local first", AF_INET, {{IFA_LOCAL, local}, {IFA_ADDRESS, peer}}, {10, 1, 2, 3}},
        {"IPv6 address only", AF_INET6, {{IFA_ADDRESS, v6}},
         {0x20, 0x01, 0x0d, 0xb8, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 7}},
        {"address of an odd size ignored", AF_INET, {{IFA_ADDRESS, {10, 1, 2}}}, {}},
        {"odd local falls back to the address", AF_INET, {{IFA_LOCAL, {1, 2, 3, 4, 5}}, {IFA_ADDRESS, peer}},
         {10, 1, 2, 99}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ifaddrmsg info = address(4, RT_SCOPE_UNIVERSE);
        info.ifa_family = static_cast<unsigned char>(c.family);
        info.ifa_prefixlen = 23;
        MessageWriter writer;
        writer.message(RTM_NEWADDR, 2, info, c.attributes).done(2);
        NetworkSnapshot snapshot;
        EXPECT_EQ(readRtnetlinkMessages(writer.bytes().data(), writer.bytes().size(), 2, snapshot), NetlinkBatch::done);
        ASSERT_EQ(snapshot.addresses.size(), 1u);
        EXPECT_EQ(snapshot.addresses[0].interfaceIndex, 4);
        EXPECT_EQ(snapshot.addresses[0].family, c.family);
        EXPECT_EQ(snapshot.addresses[0].prefixLength, 23);
        EXPECT_EQ(snapshot.addresses[0].bytes, c.bytes);
    }
}

TEST(RtnetlinkRead, TellsIncompleteInterruptedAndFailedDumps) {
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
        NetlinkBatch expected;
    };
    auto part = MessageWriter().message(RTM_NEWLINK, 1, link(2, IFF_UP)).bytes();
    auto interrupted = MessageWriter().message(RTM_NEWLINK, 1, link(2, IFF_UP), {}, NLM_F_MULTI | NLM_F_DUMP_INTR)
                           .done(1)
                           .bytes();
    nlmsgerr error{-EPERM, {}};
    auto failed = MessageWriter().message(NLMSG_ERROR, 1, error).bytes();
    auto truncated = MessageWriter().message(RTM_NEWLINK, 1, link(2, IFF_UP)).bytes();
    truncated.resize(truncated.size() - 4);
    auto lyingLength = part;
    lyingLength[0] = 0xFF;  // nlmsg_len beyond the buffer
    const Case cases[] = {
        {"more to come", part, NetlinkBatch::incomplete},
        {"tables changed meanwhile", interrupted, NetlinkBatch::interrupted},
        {"kernel error", failed, NetlinkBatch::failed},
        {"cut short", truncated, NetlinkBatch::failed},
        {"length beyond the data", lyingLength, NetlinkBatch::failed},
        {"a few stray bytes", std::vector<uint8_t>{1, 2, 3}, NetlinkBatch::failed},
        {"empty", std::vector<uint8_t>{}, NetlinkBatch::incomplete},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        NetworkSnapshot snapshot;
        EXPECT_EQ(readRtnetlinkMessages(c.bytes.data(), c.bytes.size(), 1, snapshot), c.expected);
    }
}

TEST(RtnetlinkRead, IgnoresDamagedAttributes) {
    // An attribute that claims more bytes than its message holds ends the
    // attribute list; the route itself is still read.
    MessageWriter writer;
    writer.message(RTM_NEWROUTE, 4, defaultRoute(), {{RTA_TABLE, u32(RT_TABLE_MAIN)}, {RTA_OIF, u32(6)}}).done(4);
    auto bytes = writer.bytes();
    std::size_t oifLength = NLMSG_HDRLEN + NLMSG_ALIGN(sizeof(rtmsg)) + RTA_SPACE(4);
    bytes[oifLength] = 0xF0;  // rta_len of RTA_OIF
    NetworkSnapshot snapshot;
    EXPECT_EQ(readRtnetlinkMessages(bytes.data(), bytes.size(), 4, snapshot), NetlinkBatch::done);
    ASSERT_EQ(snapshot.routes.size(), 1u);
    EXPECT_EQ(snapshot.routes[0].table, uint32_t(RT_TABLE_MAIN));
    EXPECT_TRUE(snapshot.routes[0].outputInterfaces.empty());
}

}  // namespace
}  // namespace quarra
