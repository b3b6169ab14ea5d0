#pragma once
// Layout of the compact world cities table (written at build time, read by
// the offline geocoder). All integers are little-endian.
//
//   header     "QGEO", version, placeCount, regionCount, countryCount, stringBytes (u32 each)
//   countries  countryCount x { u32 isoOffset, u32 nameOffset }
//   regions    regionCount  x { u32 nameOffset, u32 countryIndex }
//   places     placeCount   x { i32 latitude, i32 longitude (1e-5 degrees), u32 nameOffset,
//                               u16 countryIndex, u16 regionIndex (kNoRegion: none) }
//   strings    stringBytes of NUL-terminated UTF-8; an empty text means "absent"
#include <cstddef>
#include <cstdint>

namespace quarra::geotable {

inline constexpr char kMagic[4] = {'Q', 'G', 'E', 'O'};
inline constexpr uint32_t kVersion = 1;
inline constexpr size_t kHeaderBytes = 24;
inline constexpr size_t kCountryBytes = 8;
inline constexpr size_t kRegionBytes = 8;
inline constexpr size_t kPlaceBytes = 16;
inline constexpr uint16_t kNoRegion = 0xFFFF;
inline constexpr double kCoordinateScale = 1e5;

inline uint32_t readU32(const unsigned char* at) {
    return uint32_t(at[0]) | uint32_t(at[1]) << 8 | uint32_t(at[2]) << 16 | uint32_t(at[3]) << 24;
}
inline uint16_t readU16(const unsigned char* at) { return uint16_t(at[0] | at[1] << 8); }
inline int32_t readI32(const unsigned char* at) { return static_cast<int32_t>(readU32(at)); }

}  // namespace quarra::geotable
