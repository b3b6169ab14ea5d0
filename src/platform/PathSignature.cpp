#include "platform/PathSignature.hpp"

#include <algorithm>

namespace quarra {

PathSignature pathSignature(const NetworkSnapshot& snapshot) {
    PathSignature signature;
    signature.interfaces = defaultRouteInterfaces(snapshot);
    signature.satisfied = !signature.interfaces.empty();
    for (const auto& address : snapshot.addresses) {
        if (!isAddressUsable(address)) continue;
        if (!std::binary_search(signature.interfaces.begin(), signature.interfaces.end(), address.interfaceIndex)) {
            continue;
        }
        signature.addresses.push_back(
            PathAddress{address.interfaceIndex, address.family, address.prefixLength, address.bytes});
    }
    // The kernel's order is not part of the path; a repeated entry is not a second address.
    std::sort(signature.addresses.begin(), signature.addresses.end());
    signature.addresses.erase(std::unique(signature.addresses.begin(), signature.addresses.end()),
                              signature.addresses.end());
    return signature;
}

}  // namespace quarra
