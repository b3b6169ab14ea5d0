#include "credentials/KeychainValueCoding.hpp"

#include <algorithm>
#include <array>
#include <bit>
#include <optional>

namespace quarra {
namespace {

constexpr std::array<uint8_t, 3> kMarker{0x00, 'Q', 'N'};
constexpr uint8_t kIntegerTag = 'i';
constexpr uint8_t kFloatTag = 'f';
constexpr uint8_t kDoubleTag = 'd';
constexpr uint8_t kBoolTag = 'b';
constexpr size_t kHeaderSize = kMarker.size() + 1;

SecureBytes encode(uint8_t tag, uint64_t bits, size_t width) {
    SecureBytes data(kMarker.begin(), kMarker.end());
    data.push_back(tag);
    for (size_t i = 0; i < width; ++i) data.push_back(static_cast<uint8_t>(bits >> (8 * i)));
    return data;
}

// The value bits when `data` is a well-formed item of `tag` and `width` bytes.
std::optional<uint64_t> decode(const SecureBytes& data, uint8_t tag, size_t width) {
    if (data.size() != kHeaderSize + width) return std::nullopt;
    if (!std::equal(kMarker.begin(), kMarker.end(), data.begin()) || data[kMarker.size()] != tag) return std::nullopt;
    uint64_t bits = 0;
    for (size_t i = 0; i < width; ++i) bits |= static_cast<uint64_t>(data[kHeaderSize + i]) << (8 * i);
    return bits;
}

}  // namespace

SecureBytes encodeStoredNumber(int64_t value) { return encode(kIntegerTag, static_cast<uint64_t>(value), 8); }
SecureBytes encodeStoredNumber(float value) { return encode(kFloatTag, std::bit_cast<uint32_t>(value), 4); }
SecureBytes encodeStoredNumber(double value) { return encode(kDoubleTag, std::bit_cast<uint64_t>(value), 8); }
SecureBytes encodeStoredBool(bool value) { return encode(kBoolTag, value ? 1 : 0, 1); }

std::optional<int64_t> decodeStoredInteger(const SecureBytes& data) {
    if (auto bits = decode(data, kIntegerTag, 8)) return static_cast<int64_t>(*bits);
    return std::nullopt;
}

std::optional<float> decodeStoredFloat(const SecureBytes& data) {
    if (auto bits = decode(data, kFloatTag, 4)) return std::bit_cast<float>(static_cast<uint32_t>(*bits));
    return std::nullopt;
}

std::optional<double> decodeStoredDouble(const SecureBytes& data) {
    if (auto bits = decode(data, kDoubleTag, 8)) return std::bit_cast<double>(*bits);
    if (auto single = decodeStoredFloat(data)) return static_cast<double>(*single);
    if (auto integer = decodeStoredInteger(data)) return static_cast<double>(*integer);
    return std::nullopt;
}

std::optional<bool> decodeStoredBool(const SecureBytes& data) {
    auto bits = decode(data, kBoolTag, 1);
    if (!bits || *bits > 1) return std::nullopt;
    return *bits == 1;
}

bool isStoredScalar(const SecureBytes& data) { return decodeStoredDouble(data) || decodeStoredBool(data); }

}  // namespace quarra
