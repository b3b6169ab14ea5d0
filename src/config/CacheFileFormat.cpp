#include "config/CacheFileFormat.hpp"

#include <sodium.h>

#include <array>
#include <cstdint>

#include "base/Limits.hpp"

namespace quarra::cachefile {
namespace {

bool sodiumReady() {
    // sodium_init() is safe to call from several threads and more than once.
    static const bool ready = sodium_init() >= 0;
    return ready;
}

void appendLittleEndian(std::string& out, uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

uint64_t readLittleEndian(std::string_view in, std::size_t offset, int bytes) {
    uint64_t value = 0;
    for (int i = 0; i < bytes; ++i) {
        value |= static_cast<uint64_t>(static_cast<unsigned char>(in[offset + i])) << (8 * i);
    }
    return value;
}

std::optional<std::array<unsigned char, kChecksumSize>> checksum(std::string_view covered) {
    if (!sodiumReady()) return std::nullopt;
    std::array<unsigned char, kChecksumSize> digest{};
    if (crypto_generichash(digest.data(), digest.size(), reinterpret_cast<const unsigned char*>(covered.data()),
                           covered.size(), nullptr, 0) != 0) {
        return std::nullopt;
    }
    return digest;
}

}  // namespace

std::optional<std::string> wrap(std::string_view payload) {
    if (payload.size() > limits::kMaxConfigCacheBytes) return std::nullopt;
    std::string file;
    file.reserve(kHeaderSize + payload.size() + kChecksumSize);
    file.append(kMagic);
    appendLittleEndian(file, kVersion, 4);
    appendLittleEndian(file, payload.size(), 8);
    file.append(payload);
    auto digest = checksum(file);
    if (!digest) return std::nullopt;
    file.append(reinterpret_cast<const char*>(digest->data()), digest->size());
    return file;
}

std::optional<std::string> unwrap(std::string_view file) {
    if (file.size() < kHeaderSize + kChecksumSize || file.substr(0, kMagic.size()) != kMagic) return std::nullopt;
    if (readLittleEndian(file, kMagic.size(), 4) != kVersion) return std::nullopt;
    const uint64_t length = readLittleEndian(file, kMagic.size() + 4, 8);
    // Compare against the room left rather than adding to the length, which could overflow.
    if (length > limits::kMaxConfigCacheBytes || length != file.size() - kHeaderSize - kChecksumSize) {
        return std::nullopt;
    }
    const auto covered = file.substr(0, kHeaderSize + length);
    auto digest = checksum(covered);
    if (!digest) return std::nullopt;
    const auto stored = file.substr(kHeaderSize + length);
    if (sodium_memcmp(digest->data(), stored.data(), kChecksumSize) != 0) return std::nullopt;
    return std::string(file.substr(kHeaderSize, length));
}

}  // namespace quarra::cachefile
