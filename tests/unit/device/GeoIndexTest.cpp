#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "device/GeoIndex.hpp"
#include "device/GeoTableWriter.hpp"

namespace quarra {
namespace {

GeoIndex indexOf(const std::vector<GeoTableEntry>& entries) {
    auto bytes = std::make_shared<std::vector<unsigned char>>(writeGeoTable(entries).value());
    auto table = GeoTable::parse(*bytes, bytes);
    EXPECT_TRUE(table);
    return GeoIndex(std::move(*table));
}

TEST(GeoIndex, FindsTheSamePlaceAsAnExhaustiveSearch) {
    std::mt19937 random(20240611);
    std::uniform_real_distribution<double> latitude(-90, 90), longitude(-180, 180);
    std::vector<GeoTableEntry> entries;
    for (int i = 0; i < 2000; ++i) {
        entries.push_back({"P" + std::to_string(i), "", "", "ZZ", std::round(latitude(random) * 1e5) / 1e5,
                           std::round(longitude(random) * 1e5) / 1e5});
    }
    auto index = indexOf(entries);
    ASSERT_EQ(index.size(), entries.size());

    for (int q = 0; q < 300; ++q) {
        double lat = latitude(random), lon = longitude(random);
        double best = INFINITY;
        for (const auto& e : entries) best = std::min(best, greatCircleKm(lat, lon, e.latitude, e.longitude));
        auto found = index.nearest(lat, lon);
        ASSERT_TRUE(found);
        // Ties aside, the tree's answer is as near as the best one (float
        // coordinates in the tree allow a few metres).
        EXPECT_NEAR(found->distanceKm, best, 0.01) << lat << "," << lon;
    }
}

TEST(GeoIndex, CrossesTheAntimeridianAndThePoles) {
    auto index = indexOf({
        {"East", "", "", "ZZ", -16.8, 179.9},
        {"FarWest", "", "", "ZZ", -16.8, -170.0},
        {"Polar", "", "", "ZZ", 89.0, -45.0},
        {"Equator", "", "", "ZZ", 0.0, 0.0},
    });
    struct Case {
        double latitude, longitude;
        const char* expected;
    };
    for (auto c : {Case{-16.8, -179.95, "East"}, Case{-16.8, 180.0, "East"}, Case{-16.8, -180.0, "East"},
                   Case{90.0, 100.0, "Polar"}, Case{89.5, 135.0, "Polar"}, Case{-1.0, 0.5, "Equator"}}) {
        auto found = index.nearest(c.latitude, c.longitude);
        ASSERT_TRUE(found);
        EXPECT_EQ(found->place.locality, c.expected) << c.latitude << "," << c.longitude;
    }
    auto across = index.nearest(-16.8, -179.95);
    EXPECT_LT(across->distanceKm, 20.0);  // 0.15 degrees of longitude, not 360
}

TEST(GeoIndex, AnswersNothingForAnEmptyTableOrANonFiniteCoordinate) {
    EXPECT_FALSE(indexOf({}).nearest(0, 0));
    auto index = indexOf({{"Only", "", "", "ZZ", 1.0, 1.0}});
    EXPECT_FALSE(index.nearest(std::nan(""), 0));
    EXPECT_FALSE(index.nearest(0, INFINITY));
    EXPECT_TRUE(index.nearest(0, 0));
}

TEST(GeoIndex, GreatCircleDistancesOfKnownPairs) {
    EXPECT_NEAR(greatCircleKm(0, 0, 0, 1), 111.2, 0.1);        // one degree on the equator
    EXPECT_NEAR(greatCircleKm(90, 0, -90, 0), 20015.1, 0.5);   // pole to pole
    EXPECT_NEAR(greatCircleKm(10, 179.5, 10, -179.5), 109.5, 0.5);
}

}  // namespace
}  // namespace quarra
