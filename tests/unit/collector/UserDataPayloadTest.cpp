#include <gtest/gtest.h>

#include <limits>

#include "collector/UserDataPayload.hpp"

namespace quarra {
namespace {

DeviceFacts facts() {
    return DeviceFacts{.systemName = "Debian GNU/Linux",
                       .deviceName = "kitchen-pc",
                       .machineIdentifier = "iPhone12,5",
                       .screenWidth = 390.7,
                       .screenHeight = 844.2,
                       .preferredLanguages = {"en-us", "de-DE"},
                       .timeZoneOffsetSeconds = 0};
}

TEST(UserData, CarriesEveryKeyTheCollectorExpects) {
    auto data = buildUserData(facts(), BundleValues{"Shop", "4.2"}, "https://page");
    EXPECT_EQ(data["appName"], "Shop");
    EXPECT_EQ(data["url"], "https://page");
    EXPECT_EQ(data["os"], (JSONDictionary{{"name", "Debian GNU/Linux"},
                                          {"short_name", "AND"},
                                          {"version", "4.2"},
                                          {"platform", "Debian GNU/Linux"},
                                          {"family", "kitchen-pc"}}));
    EXPECT_EQ(data["client"].size(), 10u);
    EXPECT_EQ(data["client"]["name"], "Shop");
    EXPECT_EQ(data["client"]["language"], "EN-US");
    EXPECT_EQ(data["client"]["type"], "Debian GNU/Linux");
    EXPECT_EQ(data["device"], (JSONDictionary{{"id", "Debian GNU/Linux"},
                                              {"type", ""},
                                              {"brand", "Apple"},
                                              {"model", "iPhone 11 Pro Max"},
                                              {"colorDepth", ""},
                                              {"screenSize", "390x844"}}));
    EXPECT_EQ(data.size(), 6u);
}

TEST(UserData, FallsBackWhereTheHostOrDeviceSaysNothing) {
    auto device = facts();
    device.preferredLanguages.clear();
    device.machineIdentifier = "Raspberry Pi 4 Model B";
    device.screenWidth = std::numeric_limits<double>::infinity();
    auto data = buildUserData(device, BundleValues{}, "u");
    EXPECT_EQ(data["appName"], "RudazeruVIV");
    EXPECT_EQ(data["client"]["name"], "RudazeruVIV");
    EXPECT_EQ(data["os"]["version"], "1.0");
    EXPECT_EQ(data["client"]["language"], "EN");
    EXPECT_EQ(data["device"]["model"], "Raspberry Pi 4 Model B");
    EXPECT_EQ(data["device"]["screenSize"], "0x844");
}

TEST(UserData, TimeZoneOffsetIsWholeHoursTruncatedTowardZero) {
    const std::vector<std::pair<long, std::string>> cases = {
        {0, "0"}, {-5 * 3600, "-5"}, {5 * 3600 + 1800, "5"}, {-(3 * 3600 + 1800), "-3"}, {13 * 3600 + 2700, "13"}};
    for (const auto& [seconds, text] : cases) {
        auto device = facts();
        device.timeZoneOffsetSeconds = seconds;
        EXPECT_EQ(buildUserData(device, {}, "u")["client"]["timeZoneOffset"], text) << seconds;
    }
}

}  // namespace
}  // namespace quarra
