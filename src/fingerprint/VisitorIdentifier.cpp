#include "fingerprint/VisitorIdentifier.hpp"

#include <sodium.h>

#include <array>

namespace quarra {
namespace {

constexpr char kAlphabet[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
constexpr size_t kAlphabetSize = sizeof kAlphabet - 1;

// Divides the big-endian number in `digits` by the alphabet size in place
// and returns the remainder.
unsigned divideInPlace(std::array<unsigned char, 32>& digits) {
    unsigned remainder = 0;
    for (auto& digit : digits) {
        unsigned value = remainder * 256 + digit;
        digit = static_cast<unsigned char>(value / kAlphabetSize);
        remainder = value % kAlphabetSize;
    }
    return remainder;
}

}  // namespace

std::optional<std::string> visitorIdentifier(const std::string& apiKey, const DeviceFacts& facts) {
    if (sodium_init() < 0) return std::nullopt;
    // Any key length works: the API key is hashed down to a hash key first.
    std::array<unsigned char, crypto_generichash_KEYBYTES> key{};
    crypto_generichash(key.data(), key.size(), reinterpret_cast<const unsigned char*>(apiKey.data()), apiKey.size(),
                       nullptr, 0);
    crypto_generichash_state state;
    crypto_generichash_init(&state, key.data(), key.size(), 32);
    for (const auto& [name, value] : facts) {
        std::string line = name + "=" + value + "\n";
        crypto_generichash_update(&state, reinterpret_cast<const unsigned char*>(line.data()), line.size());
    }
    std::array<unsigned char, 32> hash{};
    crypto_generichash_final(&state, hash.data(), hash.size());
    sodium_memzero(key.data(), key.size());

    std::string identifier;
    for (int i = 0; i < 20; ++i) identifier += kAlphabet[divideInPlace(hash)];
    return identifier;
}

std::optional<std::string> requestIdentifier(Clock::TimePoint now) {
    if (sodium_init() < 0) return std::nullopt;
    auto millis = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count();
    std::string identifier = std::to_string(millis) + ".";
    for (int i = 0; i < 6; ++i) identifier += kAlphabet[randombytes_uniform(kAlphabetSize)];
    return identifier;
}

}  // namespace quarra
