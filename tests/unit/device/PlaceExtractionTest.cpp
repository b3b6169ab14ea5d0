#include <gtest/gtest.h>

#include "device/PlaceExtraction.hpp"

namespace quarra {
namespace {

TEST(PlaceExtraction, UsesTheFirstPlacemarkOrNothing) {
    const Placemark delhi{"New Delhi", "Delhi", "India", "IN"};
    const Placemark lyon{"Lyon", "Auvergne-Rhone-Alpes", "France", "FR"};
    const Placemark partial{std::nullopt, std::nullopt, "Antarctica", "AQ"};
    struct Case {
        const char* what;
        std::optional<std::vector<Placemark>> placemarks;
        std::optional<std::string> error;
        PlaceDetails expected;
    };
    const Case cases[] = {
        {"one placemark", std::vector{delhi}, std::nullopt, {"New Delhi", "Delhi", "India", "IN"}},
        {"two placemarks", std::vector{lyon, delhi}, std::nullopt, {"Lyon", "Auvergne-Rhone-Alpes", "France", "FR"}},
        {"texts missing", std::vector{partial}, std::nullopt, {std::nullopt, std::nullopt, "Antarctica", "AQ"}},
        {"empty answer", std::vector<Placemark>{}, std::nullopt, {}},
        {"no answer", std::nullopt, std::nullopt, {}},
        {"error only", std::nullopt, "Invalid coordinate", {}},
        {"placemark with an error", std::vector{delhi}, "ignored", {"New Delhi", "Delhi", "India", "IN"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        int calls = 0;
        PlaceDetails got{"x", "x", "x", "x"};
        extractPlace(c.placemarks, c.error, [&](const PlaceDetails& details) {
            ++calls;
            got = details;
        });
        EXPECT_EQ(calls, 1);
        EXPECT_EQ(got, c.expected);
    }
}

TEST(PlaceExtraction, WithoutACallbackNothingHappens) {
    extractPlace(std::vector{Placemark{"Lyon", {}, {}, {}}}, std::nullopt, {});
    SUCCEED();
}

}  // namespace
}  // namespace quarra
