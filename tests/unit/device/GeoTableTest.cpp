#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "device/GeoTable.hpp"
#include "device/GeoTableFormat.hpp"
#include "device/GeoTableWriter.hpp"

namespace quarra {
namespace {

std::vector<GeoTableEntry> sampleEntries() {
    return {
        {"New Delhi", "Delhi", "India", "IN", 28.63576, 77.22445},
        {"Mumbai", "Maharashtra", "India", "IN", 19.07283, 72.88261},
        {"Atafu", "", "Tokelau", "TK", -8.54212, -172.51589},
        {"Pristina", "Pristina", "", "XK", 42.67272, 21.16688},
    };
}

std::vector<unsigned char> sampleTable() {
    auto bytes = writeGeoTable(sampleEntries());
    EXPECT_TRUE(bytes.has_value());
    return bytes.value_or(std::vector<unsigned char>{});
}

TEST(GeoTable, ReadsBackWhatWasWritten) {
    auto bytes = sampleTable();
    auto table = GeoTable::parse(bytes, nullptr);
    ASSERT_TRUE(table);
    ASSERT_EQ(table->placeCount(), 4u);

    auto delhi = table->place(0);
    EXPECT_EQ(delhi.locality, "New Delhi");
    EXPECT_EQ(delhi.administrativeArea, "Delhi");
    EXPECT_EQ(delhi.country, "India");
    EXPECT_EQ(delhi.isoCountryCode, "IN");
    EXPECT_NEAR(delhi.latitude, 28.63576, 1e-9);
    EXPECT_NEAR(delhi.longitude, 77.22445, 1e-9);

    EXPECT_EQ(table->place(1).country, "India");
    EXPECT_EQ(table->place(2).administrativeArea, "");  // no region
    EXPECT_NEAR(table->place(2).longitude, -172.51589, 1e-9);
    EXPECT_EQ(table->place(3).country, "");  // no known name
    EXPECT_EQ(table->place(3).isoCountryCode, "XK");
}

TEST(GeoTable, WriterRefusesCoordinatesOffTheGlobe) {
    for (auto [latitude, longitude] : {std::pair{91.0, 0.0}, {0.0, 180.5}, {std::nan(""), 0.0}}) {
        std::string error;
        EXPECT_FALSE(writeGeoTable({{"Nowhere", "", "", "ZZ", latitude, longitude}}, &error));
        EXPECT_NE(error.find("Nowhere"), std::string::npos);
    }
}

void putU32(std::vector<unsigned char>& bytes, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<unsigned char>(value >> (8 * i));
}

// Offsets into the sample table: 3 countries (IN, TK, XK), 3 regions (Delhi,
// Maharashtra, Pristina), then 4 places.
constexpr size_t kCountries = geotable::kHeaderBytes;
constexpr size_t kRegions = kCountries + 3 * geotable::kCountryBytes;
constexpr size_t kPlaces = kRegions + 3 * geotable::kRegionBytes;

TEST(GeoTable, RejectsDamagedTables) {
    struct Case {
        const char* name;
        std::function<void(std::vector<unsigned char>&)> damage;
    };
    const Case cases[] = {
        {"empty", [](auto& b) { b.clear(); }},
        {"wrong magic", [](auto& b) { b[0] = 'X'; }},
        {"newer version", [](auto& b) { putU32(b, 4, 2); }},
        {"truncated", [](auto& b) { b.pop_back(); }},
        {"trailing bytes", [](auto& b) { b.push_back(0); }},
        {"place count too large", [](auto& b) { putU32(b, 8, 5); }},
        {"texts not terminated", [](auto& b) { b.back() = 'x'; }},
        {"country text outside pool", [](auto& b) { putU32(b, kCountries + 4, 0x7fffffff); }},
        {"region of unknown country", [](auto& b) { putU32(b, kRegions + 4, 3); }},
        {"place text outside pool", [](auto& b) { putU32(b, kPlaces + 8, 0xffffffff); }},
        {"place of unknown country", [](auto& b) { b[kPlaces + 12] = 9; }},
        {"place of unknown region", [](auto& b) { b[kPlaces + 14] = 7; b[kPlaces + 15] = 0; }},
        {"latitude beyond the pole", [](auto& b) { putU32(b, kPlaces, 9'000'001); }},
        {"longitude beyond the antimeridian", [](auto& b) { putU32(b, kPlaces + 4, uint32_t(-18'000'001)); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto bytes = sampleTable();
        ASSERT_TRUE(GeoTable::parse(bytes, nullptr));
        c.damage(bytes);
        std::string error;
        EXPECT_FALSE(GeoTable::parse(bytes, nullptr, &error));
        EXPECT_FALSE(error.empty());
    }
}

}  // namespace
}  // namespace quarra
