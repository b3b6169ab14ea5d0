#pragma once
// What a sign-in depends on in the kernel's tables: whether the path is
// usable, which interfaces carry it and the addresses they hold. Two
// snapshots with equal signatures need no new sign-in between them.
#include <array>
#include <compare>
#include <cstdint>
#include <vector>

#include "platform/NetworkPathState.hpp"

namespace quarra {

struct PathAddress {
    int interfaceIndex = 0;
    int family = 0;
    int prefixLength = 0;
    std::array<uint8_t, 16> bytes{};
    auto operator<=>(const PathAddress&) const = default;
};

struct PathSignature {
    bool satisfied = false;
    std::vector<int> interfaces;        // sorted
    std::vector<PathAddress> addresses;  // sorted
    bool operator==(const PathSignature&) const = default;
};

// The signature of `snapshot`. An unusable path has one signature whatever
// the addresses, so churn while offline reports nothing new.
PathSignature pathSignature(const NetworkSnapshot& snapshot);

}  // namespace quarra
