// Any bytes as the secure store's key file, and as a sealed item value.
// Reading the key file must give a key exactly when it holds 32 bytes, those
// bytes, and leave the file as it was; opening a sealed value must never
// crash; and what is sealed opens to itself and to nothing once a byte of it
// changes.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "FuzzSupport.hpp"
#include "credentials/Sealing.hpp"
#include "credentials/StoreKey.hpp"

namespace {

// The key the seed corpus's sealed values were sealed under: 0x00, 0x01, ... 0x1f.
const quarra::StoreKey& fuzzKey() {
    static const quarra::StoreKey key = [] {
        unsigned char bytes[quarra::StoreKey::kSize];
        for (size_t i = 0; i < sizeof bytes; ++i) bytes[i] = static_cast<unsigned char>(i);
        return quarra::StoreKey(bytes);
    }();
    return key;
}

std::string fileText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace quarra;
    if (!ensureSodium()) __builtin_trap();
    const std::string contents(reinterpret_cast<const char*>(data), size);

    const auto path = fuzzing::scratchDirectory() / "store.key";
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(contents.data(), static_cast<std::streamsize>(contents.size()));
    }
    auto loaded = loadOrCreateKeyFile(path);
    if (loaded.key.has_value() != (size == StoreKey::kSize)) __builtin_trap();
    if (loaded.key && std::string(reinterpret_cast<const char*>(loaded.key->data()), StoreKey::kSize) != contents) {
        __builtin_trap();
    }
    if (!loaded.key && loaded.error.empty()) __builtin_trap();
    if (fileText(path) != contents) __builtin_trap();  // a damaged key file is never replaced

    const StoreKey& key = loaded.key ? *loaded.key : fuzzKey();
    const SecureBytes bytes(data, data + size);
    if (auto opened = unsealFromBytes(fuzzKey(), bytes)) {
        if (opened->size() + 40 != size) __builtin_trap();  // 24-byte nonce, 16-byte tag
        if (unsealFromBytes(fuzzKey(), sealToBytes(fuzzKey(), *opened)) != opened) __builtin_trap();
    }

    const SecureBytes sealed = sealToBytes(key, bytes);
    if (unsealFromBytes(key, sealed) != bytes) __builtin_trap();
    SecureBytes tampered = sealed;
    tampered[size % tampered.size()] ^= 0x01;
    if (unsealFromBytes(key, tampered)) __builtin_trap();
    return 0;
}
