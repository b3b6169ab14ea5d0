#include "platform/VendorIdentifier.hpp"

#include <sodium.h>

#include <array>
#include <cctype>
#include <cstdint>

#include <quarra/KeychainWrapper.hpp>

namespace quarra {

std::string makeRandomUUID() {
    if (sodium_init() < 0) return "";  // only when the system has no randomness source
    std::array<uint8_t, 16> bytes{};
    randombytes_buf(bytes.data(), bytes.size());
    bytes[6] = static_cast<uint8_t>((bytes[6] & 0x0F) | 0x40);  // version 4
    bytes[8] = static_cast<uint8_t>((bytes[8] & 0x3F) | 0x80);  // RFC 4122 variant
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(36);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10) text += '-';
        text += kDigits[bytes[i] >> 4];
        text += kDigits[bytes[i] & 0x0F];
    }
    return text;
}

bool isUUIDText(std::string_view text) {
    if (text.size() != 36) return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        bool hyphenPlace = i == 8 || i == 13 || i == 18 || i == 23;
        if (hyphenPlace ? text[i] != '-' : !std::isxdigit(static_cast<unsigned char>(text[i]))) return false;
    }
    return true;
}

std::optional<std::string> loadOrCreateVendorIdentifier(KeychainWrapper& keychain, const std::string& key) {
    if (auto stored = keychain.string(key); stored && isUUIDText(*stored)) {
        std::string upper = *stored;
        for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        return upper;
    }
    std::string fresh = makeRandomUUID();
    if (fresh.empty()) return std::nullopt;
    keychain.set(fresh, key);
    return fresh;
}

}  // namespace quarra
