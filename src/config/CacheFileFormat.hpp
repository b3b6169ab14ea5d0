#pragma once
// The configuration cache's file format: a fixed header, the raw response
// bytes and a checksum over both, so that a torn, truncated or foreign file
// is recognised instead of being trusted.
//
//   "QRRCACHE"             8 bytes, magic
//   version                4 bytes, little-endian, currently 1
//   length                 8 bytes, little-endian, size of the payload
//   payload                `length` bytes, exactly as received
//   checksum               32 bytes, BLAKE2b over everything above
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace quarra::cachefile {

inline constexpr std::string_view kMagic = "QRRCACHE";
inline constexpr unsigned kVersion = 1;
inline constexpr std::size_t kHeaderSize = 8 + 4 + 8;
inline constexpr std::size_t kChecksumSize = 32;

// The file contents for `payload`; nullopt when the payload is larger than
// the cache keeps or the checksum cannot be computed.
std::optional<std::string> wrap(std::string_view payload);
// The payload of a file written by wrap(); nullopt for anything else.
std::optional<std::string> unwrap(std::string_view file);

}  // namespace quarra::cachefile
