#pragma once
// Persistent references handed out by the stores: an item's row number as
// eight little-endian bytes. Opaque to callers.
#include <cstdint>

#include "credentials/SecureItemStore.hpp"

namespace quarra {

inline SecureBytes encodePersistentRef(uint64_t id) {
    SecureBytes ref(8);
    for (size_t i = 0; i < ref.size(); ++i) ref[i] = static_cast<uint8_t>(id >> (8 * i));
    return ref;
}

}  // namespace quarra
