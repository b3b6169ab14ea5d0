// Any bytes as the token call's answer: decoding must never crash or throw, a
// reply that decodes must survive its own written form, and its two tokens
// must go into the secure store and come back out as they were.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

#include <quarra/KeychainWrapper.hpp>
#include <quarra/testing/MemorySecureItemStore.hpp>

#include "FuzzSupport.hpp"
#include "credentials/AccessTokenService.hpp"
#include "credentials/KeychainValueCoding.hpp"

namespace {

// Text in the store's number form reads back as none, by design; any other
// token must read back unchanged.
bool readsBack(const quarra::KeychainWrapper& keychain, const std::string& key, const std::string& token) {
    const quarra::SecureBytes bytes(token.begin(), token.end());
    if (quarra::isStoredScalar(bytes)) return !keychain.string(key).has_value();
    return keychain.string(key) == token;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace quarra;
    const std::string_view body(reinterpret_cast<const char*>(data), size);

    auto reply = GetAccessTokenResponse::decode(body);
    if (!reply) return 0;

    const JSONDictionary written = {{"accessToken", reply->accessToken}, {"refreshToken", reply->refreshToken},
                                    {"tokenType", reply->tokenType},     {"expiresIn", reply->expiresIn},
                                    {"message", reply->message}};
    auto again = GetAccessTokenResponse::decode(written.dump());
    if (!again || again->accessToken != reply->accessToken || again->refreshToken != reply->refreshToken ||
        again->tokenType != reply->tokenType || again->expiresIn != reply->expiresIn || again->message != reply->message) {
        __builtin_trap();
    }

    // What the token call does with a decoded reply.
    KeychainWrapper keychain("fuzz", std::nullopt, std::make_shared<MemorySecureItemStore>());
    for (const std::string* token : {&reply->accessToken, &reply->refreshToken}) {
        if (!fuzzing::wellFormedUtf8(*token)) __builtin_trap();
    }
    if (!keychain.set(reply->accessToken, "accessToken") || !keychain.set(reply->refreshToken, "refreshToken")) {
        __builtin_trap();
    }
    if (!readsBack(keychain, "accessToken", reply->accessToken) ||
        !readsBack(keychain, "refreshToken", reply->refreshToken)) {
        __builtin_trap();
    }
    return 0;
}
