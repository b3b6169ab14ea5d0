#pragma once
// Builds a compact world cities table from plain entries. Used by the
// build-time converter and by tests that need a small table.
#include <optional>
#include <string>
#include <vector>

namespace quarra {

struct GeoTableEntry {
    std::string locality;
    std::string administrativeArea;  // empty: none
    std::string country;             // empty: unknown name
    std::string isoCountryCode;
    double latitude = 0;
    double longitude = 0;
};

// The table bytes, or nullopt (with a reason) when an entry has a coordinate
// out of range or there are more countries or regions than the format holds.
std::optional<std::vector<unsigned char>> writeGeoTable(const std::vector<GeoTableEntry>& entries,
                                                        std::string* error = nullptr);

}  // namespace quarra
