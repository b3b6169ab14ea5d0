#include "device/GeoTableWriter.hpp"

#include <cmath>
#include <cstdint>
#include <map>
#include <utility>

#include "device/GeoTableFormat.hpp"

namespace quarra {
namespace {

class Builder {
public:
    uint32_t text(const std::string& value) {
        auto [it, inserted] = offsets_.emplace(value, uint32_t(strings_.size()));
        if (inserted) {
            strings_.insert(strings_.end(), value.begin(), value.end());
            strings_.push_back(0);
        }
        return it->second;
    }
    const std::vector<unsigned char>& strings() const { return strings_; }

private:
    std::map<std::string, uint32_t> offsets_;
    std::vector<unsigned char> strings_;
};

void putU32(std::vector<unsigned char>& out, uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<unsigned char>(value >> shift));
}
void putU16(std::vector<unsigned char>& out, uint16_t value) {
    out.push_back(static_cast<unsigned char>(value));
    out.push_back(static_cast<unsigned char>(value >> 8));
}

std::optional<std::vector<unsigned char>> failure(std::string* error, std::string reason) {
    if (error) *error = std::move(reason);
    return std::nullopt;
}

bool validCoordinate(const GeoTableEntry& entry) {
    return std::isfinite(entry.latitude) && std::isfinite(entry.longitude) && std::fabs(entry.latitude) <= 90.0 &&
           std::fabs(entry.longitude) <= 180.0;
}

}  // namespace

std::optional<std::vector<unsigned char>> writeGeoTable(const std::vector<GeoTableEntry>& entries,
                                                        std::string* error) {
    Builder pool;
    pool.text("");  // offset 0 is the empty text
    std::map<std::string, uint32_t> countryIndex;
    std::vector<std::pair<uint32_t, uint32_t>> countries;  // iso, name
    std::map<std::pair<uint32_t, std::string>, uint32_t> regionIndex;
    std::vector<std::pair<uint32_t, uint32_t>> regions;  // name, country
    std::vector<unsigned char> places;

    for (const auto& entry : entries) {
        if (!validCoordinate(entry)) {
            return failure(error, "coordinate out of range for " + entry.locality);
        }
        auto [country, newCountry] = countryIndex.emplace(entry.isoCountryCode, uint32_t(countries.size()));
        if (newCountry) countries.emplace_back(pool.text(entry.isoCountryCode), pool.text(entry.country));
        uint32_t region = geotable::kNoRegion;
        if (!entry.administrativeArea.empty()) {
            auto [it, newRegion] =
                regionIndex.emplace(std::make_pair(country->second, entry.administrativeArea), uint32_t(regions.size()));
            if (newRegion) regions.emplace_back(pool.text(entry.administrativeArea), country->second);
            region = it->second;
        }
        if (countries.size() > 0xFFFF || regions.size() >= geotable::kNoRegion) {
            return failure(error, "too many countries or regions for the table format");
        }
        putU32(places, static_cast<uint32_t>(static_cast<int32_t>(std::lround(entry.latitude * geotable::kCoordinateScale))));
        putU32(places, static_cast<uint32_t>(static_cast<int32_t>(std::lround(entry.longitude * geotable::kCoordinateScale))));
        putU32(places, pool.text(entry.locality));
        putU16(places, static_cast<uint16_t>(country->second));
        putU16(places, static_cast<uint16_t>(region));
    }

    std::vector<unsigned char> out(std::begin(geotable::kMagic), std::end(geotable::kMagic));
    putU32(out, geotable::kVersion);
    putU32(out, uint32_t(entries.size()));
    putU32(out, uint32_t(regions.size()));
    putU32(out, uint32_t(countries.size()));
    putU32(out, uint32_t(pool.strings().size()));
    for (auto [iso, name] : countries) {
        putU32(out, iso);
        putU32(out, name);
    }
    for (auto [name, country] : regions) {
        putU32(out, name);
        putU32(out, country);
    }
    out.insert(out.end(), places.begin(), places.end());
    out.insert(out.end(), pool.strings().begin(), pool.strings().end());
    return out;
}

}  // namespace quarra
