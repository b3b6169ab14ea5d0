#include <gtest/gtest.h>

#include <cmath>

#include "device/GeoTableWriter.hpp"
#include "device/OfflineReverseGeocoder.hpp"
#include <quarra/testing/ManualExecutor.hpp>

namespace quarra {
namespace {

struct Answer {
    std::optional<std::vector<Placemark>> placemarks;
    std::optional<std::string> error;
};

class OfflineReverseGeocoderTest : public ::testing::Test {
protected:
    OfflineReverseGeocoder::TableLoader smallTable() {
        return [this](std::string*) -> std::optional<GeoTable> {
            ++loads;
            auto bytes = std::make_shared<std::vector<unsigned char>>(writeGeoTable({
                                                                          {"Suva", "Central", "Fiji", "FJ", -18.14161, 178.44149},
                                                                          {"Atafu", "", "Tokelau", "TK", -8.54212, -172.51589},
                                                                      })
                                                                          .value());
            return GeoTable::parse(*bytes, bytes);
        };
    }

    Answer ask(OfflineReverseGeocoder& geocoder, double latitude, double longitude) {
        Answer answer;
        int calls = 0;
        geocoder.reverseGeocodeLocation(latitude, longitude, [&](auto placemarks, auto error) {
            ++calls;
            answer = {std::move(placemarks), std::move(error)};
        });
        queue->runUntilIdle();
        EXPECT_EQ(calls, 1);
        return answer;
    }

    std::shared_ptr<ManualExecutor> queue = std::make_shared<ManualExecutor>();
    int loads = 0;
    std::vector<std::string> problems;
    OfflineReverseGeocoder::Reporter reporter = [this](const std::string& message) { problems.push_back(message); };
};

TEST_F(OfflineReverseGeocoderTest, LoadsTheTableOnItsQueueOnFirstUseOnly) {
    OfflineReverseGeocoder geocoder(queue, smallTable(), reporter);
    bool answered = false;
    geocoder.reverseGeocodeLocation(-18.1, 178.4, [&](auto, auto) { answered = true; });
    EXPECT_EQ(loads, 0);  // nothing happens on the caller's thread
    EXPECT_FALSE(answered);
    queue->runUntilIdle();
    EXPECT_TRUE(answered);
    ask(geocoder, -8.5, -172.5);
    EXPECT_EQ(loads, 1);
}

TEST_F(OfflineReverseGeocoderTest, AnswersTheNearestPlaceWithItsFourTexts) {
    OfflineReverseGeocoder geocoder(queue, smallTable(), reporter);
    auto answer = ask(geocoder, -18.0, 178.5);
    ASSERT_TRUE(answer.placemarks);
    ASSERT_EQ(answer.placemarks->size(), 1u);
    EXPECT_EQ(answer.placemarks->front(), (Placemark{"Suva", "Central", "Fiji", "FJ"}));
    EXPECT_FALSE(answer.error);

    auto tokelau = ask(geocoder, -8.6, -172.4);
    ASSERT_EQ(tokelau.placemarks->size(), 1u);
    EXPECT_FALSE(tokelau.placemarks->front().administrativeArea);  // none in the table
}

TEST_F(OfflineReverseGeocoderTest, WrapsLongitudesBeyondOneTurn) {
    OfflineReverseGeocoder geocoder(queue, smallTable(), reporter);
    for (double longitude : {178.5 + 360.0, 178.5 - 720.0}) {
        auto answer = ask(geocoder, -18.0, longitude);
        ASSERT_TRUE(answer.placemarks);
        ASSERT_EQ(answer.placemarks->size(), 1u) << longitude;
        EXPECT_EQ(answer.placemarks->front().locality, "Suva");
    }
}

TEST_F(OfflineReverseGeocoderTest, NoPlaceFartherThanTheLimit) {
    OfflineReverseGeocoder geocoder(queue, smallTable(), reporter);
    for (auto [latitude, longitude] : {std::pair{90.0, 0.0}, {-90.0, 0.0}, {0.0, -140.0}}) {
        auto answer = ask(geocoder, latitude, longitude);
        ASSERT_TRUE(answer.placemarks);
        EXPECT_TRUE(answer.placemarks->empty()) << latitude << "," << longitude;
        EXPECT_FALSE(answer.error);
    }
}

TEST_F(OfflineReverseGeocoderTest, RefusesCoordinatesThatAreNotOnEarth) {
    OfflineReverseGeocoder geocoder(queue, smallTable(), reporter);
    for (auto [latitude, longitude] :
         {std::pair{90.5, 0.0}, {-91.0, 0.0}, {std::nan(""), 0.0}, {0.0, std::nan("")}, {0.0, INFINITY}}) {
        auto answer = ask(geocoder, latitude, longitude);
        EXPECT_FALSE(answer.placemarks);
        EXPECT_EQ(answer.error, "Invalid coordinate");
    }
}

TEST_F(OfflineReverseGeocoderTest, ATableThatDoesNotLoadFailsEveryRequestAndIsReportedOnce) {
    OfflineReverseGeocoder geocoder(
        queue,
        [this](std::string* error) -> std::optional<GeoTable> {
            ++loads;
            *error = "not a world cities table";
            return std::nullopt;
        },
        reporter);
    for (int i = 0; i < 3; ++i) {
        auto answer = ask(geocoder, 10, 10);
        EXPECT_FALSE(answer.placemarks);
        EXPECT_EQ(answer.error, "Could not load the world cities table: not a world cities table");
    }
    EXPECT_EQ(loads, 1);
    EXPECT_EQ(problems, std::vector<std::string>{"Could not load the world cities table: not a world cities table"});
}

TEST_F(OfflineReverseGeocoderTest, PreloadLoadsWithoutARequest) {
    OfflineReverseGeocoder geocoder(queue, smallTable(), reporter);
    geocoder.preload();
    queue->runUntilIdle();
    EXPECT_EQ(loads, 1);
    ask(geocoder, 0, 0);
    EXPECT_EQ(loads, 1);
}

}  // namespace
}  // namespace quarra
