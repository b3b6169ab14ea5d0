#include "credentials/Sealing.hpp"

#include <sodium.h>

#include "base/RandomBytes.hpp"

namespace quarra {
namespace {

// Never hand the library a null pointer for empty data.
const unsigned char kNothing = 0;

// A nonce must never repeat under one key; random ones of this size do not.
void fillNonce(unsigned char* nonce) {
    if (!randomBytes(nonce, crypto_secretbox_NONCEBYTES)) randombytes_buf(nonce, crypto_secretbox_NONCEBYTES);
}

}  // namespace

SealedData seal(const StoreKey& key, const SecureBytes& plaintext) {
    const SecureBytes joined = sealToBytes(key, plaintext);
    const auto split = joined.begin() + crypto_secretbox_NONCEBYTES;
    return SealedData{SecureBytes(joined.begin(), split), SecureBytes(split, joined.end())};
}

std::optional<SecureBytes> unseal(const StoreKey& key, const SecureBytes& nonce, const SecureBytes& ciphertext) {
    if (nonce.size() != crypto_secretbox_NONCEBYTES || ciphertext.size() < crypto_secretbox_MACBYTES) {
        return std::nullopt;
    }
    // One spare byte so that empty data still has somewhere to go.
    SecureBytes plaintext(ciphertext.size() - crypto_secretbox_MACBYTES + 1);
    if (crypto_secretbox_open_easy(plaintext.data(), ciphertext.data(), ciphertext.size(), nonce.data(), key.data()) !=
        0) {
        return std::nullopt;
    }
    plaintext.pop_back();
    return plaintext;
}

SecureBytes sealToBytes(const StoreKey& key, std::span<const uint8_t> plaintext) {
    // Sealed in place: one buffer, the plaintext never copied.
    SecureBytes joined(crypto_secretbox_NONCEBYTES + crypto_secretbox_MACBYTES + plaintext.size());
    fillNonce(joined.data());
    crypto_secretbox_easy(joined.data() + crypto_secretbox_NONCEBYTES, plaintext.empty() ? &kNothing : plaintext.data(),
                          plaintext.size(), joined.data(), key.data());
    return joined;
}

std::optional<SecureBytes> unsealFromBytes(const StoreKey& key, const SecureBytes& nonceAndCiphertext) {
    if (nonceAndCiphertext.size() < crypto_secretbox_NONCEBYTES) return std::nullopt;
    auto split = nonceAndCiphertext.begin() + crypto_secretbox_NONCEBYTES;
    return unseal(key, SecureBytes(nonceAndCiphertext.begin(), split), SecureBytes(split, nonceAndCiphertext.end()));
}

}  // namespace quarra
