#include "platform/VendorIdentifier.hpp"

#include <sodium.h>
#include <uuid/uuid.h>

#include <cctype>
#include <cstring>

#include <quarra/KeychainWrapper.hpp>

namespace quarra {

namespace {

// Random bytes drawn from the system in blocks: every report gets a key, and
// a system call (libuuid makes five) per key shows in the cost of a report.
// Per thread, so no lock; a process that forks without exec would share the
// rest of a block with its child, which this library never does.
class RandomPool {
public:
    bool fill(unsigned char* out, size_t size) {
        if (used_ + size > sizeof block_) {
            if (sodium_init() < 0) return false;
            randombytes_buf(block_, sizeof block_);
            used_ = 0;
        }
        std::memcpy(out, block_ + used_, size);
        sodium_memzero(block_ + used_, size);  // a byte handed out is not kept
        used_ += size;
        return true;
    }

private:
    unsigned char block_[1024] = {};
    size_t used_ = sizeof block_;
};

}  // namespace

std::string makeRandomUUID() {
    thread_local RandomPool pool;
    uuid_t id;
    if (pool.fill(id, sizeof id)) {
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
