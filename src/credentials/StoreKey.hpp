#pragma once
// The 32-byte key that seals the secure store's item data: the host's own, or
// one generated once and kept in a key file (mode 0600) beside the store.
#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace quarra {

class StoreKey {
public:
    static constexpr size_t kSize = 32;

    StoreKey() = default;
    explicit StoreKey(const unsigned char* bytes);
    StoreKey(const StoreKey& other) = default;
    StoreKey& operator=(const StoreKey& other) = default;
    ~StoreKey();  // wipes the key from memory

    const unsigned char* data() const { return bytes_.data(); }

private:
    std::array<unsigned char, kSize> bytes_{};
};

// A key or, when there is none, why.
struct StoreKeyResult {
    std::optional<StoreKey> key;
    std::string error;
};

// Starts libsodium once per process; false when it cannot start.
bool ensureSodium();

// The host's key; it must be exactly kSize bytes.
StoreKeyResult keyFromHost(const std::vector<unsigned char>& hostKey);

// Reads the key file, or creates it (exclusively, mode 0600) with a fresh
// random key when it does not exist. A file of the wrong length is unusable.
StoreKeyResult loadOrCreateKeyFile(const std::filesystem::path& path);

}  // namespace quarra
