#include "platform/VendorIdentifier.hpp"

#include <uuid/uuid.h>

#include <cctype>

#include <quarra/KeychainWrapper.hpp>

#include "base/RandomBytes.hpp"

namespace quarra {

std::string makeRandomUUID() {
    uuid_t id;
    if (randomBytes(id, sizeof id)) {
        id[6] = static_cast<unsigned char>((id[6] & 0x0F) | 0x40);  // version 4
        id[8] = static_cast<unsigned char>((id[8] & 0x3F) | 0x80);  // RFC 4122 variant
    } else {
        uuid_generate_random(id);
    }
    char text[37];
    uuid_unparse_upper(id, text);
    return text;
}

bool isUUIDText(std::string_view text) {
    uuid_t id;
    return text.size() == 36 && uuid_parse(std::string(text).c_str(), id) == 0;
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
