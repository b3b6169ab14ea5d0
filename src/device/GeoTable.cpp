#include "device/GeoTable.hpp"

#include <cmath>
#include <cstring>

#include "device/GeoTableFormat.hpp"

namespace quarra {
namespace {

using namespace geotable;

std::optional<GeoTable> rejected(std::string* error, const char* reason) {
    if (error) *error = reason;
    return std::nullopt;
}

}  // namespace

std::optional<GeoTable> GeoTable::parse(std::span<const unsigned char> bytes, std::shared_ptr<const void> owner,
                                        std::string* error) {
    if (bytes.size() < kHeaderBytes || std::memcmp(bytes.data(), kMagic, sizeof kMagic) != 0) {
        return rejected(error, "not a world cities table");
    }
    const unsigned char* at = bytes.data();
    if (readU32(at + 4) != kVersion) return rejected(error, "unsupported world cities table version");
    uint64_t places = readU32(at + 8), regions = readU32(at + 12), countries = readU32(at + 16),
             stringBytes = readU32(at + 20);
    uint64_t expected = kHeaderBytes + countries * kCountryBytes + regions * kRegionBytes + places * kPlaceBytes +
                        stringBytes;
    if (expected != bytes.size()) return rejected(error, "world cities table has the wrong size");
    if (stringBytes == 0 || at[bytes.size() - 1] != 0) return rejected(error, "world cities table texts are not terminated");

    GeoTable table;
    table.bytes_ = bytes;
    table.owner_ = std::move(owner);
    table.placeCount_ = places;
    table.regionCount_ = regions;
    table.countryCount_ = countries;
    table.countries_ = at + kHeaderBytes;
    table.regions_ = table.countries_ + countries * kCountryBytes;
    table.places_ = table.regions_ + regions * kRegionBytes;
    table.strings_ = reinterpret_cast<const char*>(table.places_ + places * kPlaceBytes);

    // Every text ends inside the pool because its last byte is NUL, so an
    // offset check is enough for texts.
    for (uint64_t i = 0; i < countries; ++i) {
        const unsigned char* entry = table.countries_ + i * kCountryBytes;
        if (readU32(entry) >= stringBytes || readU32(entry + 4) >= stringBytes) {
            return rejected(error, "world cities table has a bad country entry");
        }
    }
    for (uint64_t i = 0; i < regions; ++i) {
        const unsigned char* entry = table.regions_ + i * kRegionBytes;
        if (readU32(entry) >= stringBytes || readU32(entry + 4) >= countries) {
            return rejected(error, "world cities table has a bad region entry");
        }
    }
    for (uint64_t i = 0; i < places; ++i) {
        const unsigned char* entry = table.places_ + i * kPlaceBytes;
        int32_t latitude = readI32(entry), longitude = readI32(entry + 4);
        uint16_t region = readU16(entry + 14);
        if (std::abs(int64_t{latitude}) > 90 * 100000 || std::abs(int64_t{longitude}) > 180 * 100000 ||
            readU32(entry + 8) >= stringBytes || readU16(entry + 12) >= countries ||
            (region != kNoRegion && region >= regions)) {
            return rejected(error, "world cities table has a bad place entry");
        }
    }
    return table;
}

std::string_view GeoTable::text(uint32_t offset) const { return std::string_view(strings_ + offset); }

GeoPlace GeoTable::place(size_t index) const {
    const unsigned char* entry = places_ + index * kPlaceBytes;
    const unsigned char* country = countries_ + size_t{readU16(entry + 12)} * kCountryBytes;
    uint16_t region = readU16(entry + 14);
    return GeoPlace{
        .locality = text(readU32(entry + 8)),
        .administrativeArea = region == kNoRegion ? std::string_view() : text(readU32(regions_ + size_t{region} * kRegionBytes)),
        .country = text(readU32(country + 4)),
        .isoCountryCode = text(readU32(country)),
        .latitude = readI32(entry) / kCoordinateScale,
        .longitude = readI32(entry + 4) / kCoordinateScale,
    };
}

}  // namespace quarra
