#pragma once
// Sealing item data under the store key: authenticated secret-key encryption
// with a fresh random nonce for every write.
#include <cstdint>
#include <optional>
#include <span>

#include "credentials/SecureItemStore.hpp"
#include "credentials/StoreKey.hpp"

namespace quarra {

struct SealedData {
    SecureBytes nonce;
    SecureBytes ciphertext;  // includes the authentication tag
};

SealedData seal(const StoreKey& key, const SecureBytes& plaintext);
// None when the nonce or ciphertext is malformed or was not sealed under `key`.
std::optional<SecureBytes> unseal(const StoreKey& key, const SecureBytes& nonce, const SecureBytes& ciphertext);

// The nonce followed by the ciphertext, as one value; and back.
SecureBytes sealToBytes(const StoreKey& key, std::span<const uint8_t> plaintext);
std::optional<SecureBytes> unsealFromBytes(const StoreKey& key, const SecureBytes& nonceAndCiphertext);

}  // namespace quarra
