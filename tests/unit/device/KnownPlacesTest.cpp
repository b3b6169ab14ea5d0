// The real world cities table built into the library, at known coordinates.
#include <gtest/gtest.h>

#include "device/EmbeddedGeoTable.hpp"
#include "device/OfflineReverseGeocoder.hpp"
#include <quarra/testing/ManualExecutor.hpp>

namespace quarra {
namespace {

class KnownPlacesTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        queue = std::make_shared<ManualExecutor>();
        geocoder = std::make_shared<OfflineReverseGeocoder>(queue, loadEmbeddedGeoTable);
    }
    static void TearDownTestSuite() {
        geocoder.reset();
        queue.reset();
    }

    static std::optional<Placemark> placeAt(double latitude, double longitude) {
        std::optional<std::vector<Placemark>> found;
        std::optional<std::string> failure;
        geocoder->reverseGeocodeLocation(latitude, longitude, [&](auto placemarks, auto error) {
            found = std::move(placemarks);
            failure = std::move(error);
        });
        queue->runUntilIdle();
        EXPECT_FALSE(failure) << failure.value_or("");
        if (!found || found->empty()) return std::nullopt;
        return found->front();
    }

    static inline std::shared_ptr<ManualExecutor> queue;
    static inline std::shared_ptr<OfflineReverseGeocoder> geocoder;
};

TEST_F(KnownPlacesTest, TheTableIsBuiltIn) {
    std::string error;
    auto table = loadEmbeddedGeoTable(&error);
    ASSERT_TRUE(table) << error;
    EXPECT_GT(table->placeCount(), 100'000u);
}

TEST_F(KnownPlacesTest, PlacesOnLandCarryCountryRegionAndCode) {
    struct Case {
        const char* what;
        double latitude, longitude;
        const char* country;
        const char* iso;
        const char* region;
    };
    const Case cases[] = {
        {"central Delhi", 28.6139, 77.2090, "India", "IN", "Delhi"},
        {"off the coast of Mumbai", 18.95, 72.70, "India", "IN", "Maharashtra"},
        {"San Francisco", 37.7793, -122.4193, "United States", "US", "California"},
        {"Fiji, east of the antimeridian", -16.75, -179.99, "Fiji", "FJ", nullptr},
        {"Fiji, west of the antimeridian", -16.75, 179.99, "Fiji", "FJ", nullptr},
        {"Chukotka across the antimeridian", 65.74, -179.0, "Russia", "RU", "Chukotka"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto place = placeAt(c.latitude, c.longitude);
        ASSERT_TRUE(place);
        EXPECT_TRUE(place->locality && !place->locality->empty());
        EXPECT_EQ(place->country, c.country);
        EXPECT_EQ(place->isoCountryCode, c.iso);
        if (c.region) {
            EXPECT_EQ(place->administrativeArea, c.region);
        } else {
            EXPECT_TRUE(place->administrativeArea && !place->administrativeArea->empty());
        }
    }
}

TEST_F(KnownPlacesTest, ThePolesAndTheOpenOceanHaveNoPlace) {
    EXPECT_FALSE(placeAt(90.0, 0.0));
    EXPECT_FALSE(placeAt(-90.0, 0.0));
    EXPECT_FALSE(placeAt(0.0, -140.0));  // middle of the Pacific
    EXPECT_FALSE(placeAt(-40.0, -30.0));  // South Atlantic
}

}  // namespace
}  // namespace quarra
