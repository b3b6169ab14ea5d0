// Only the two landscape orientations read as "landscape".
#include <gtest/gtest.h>

#include "device/Orientation.hpp"
#include <quarra/testing/FixedDeviceInfo.hpp>

namespace quarra {
namespace {

TEST(Orientation, LandscapeOnlyForLeftAndRight) {
    struct Case {
        int raw;
        const char* text;
    };
    const Case cases[] = {
        {0, "portrait"},  {1, "portrait"}, {2, "portrait"}, {3, "landscape"}, {4, "landscape"},
        {5, "portrait"},  {6, "portrait"}, {-1, "portrait"}, {7, "portrait"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.raw);
        EXPECT_EQ(orientationText(c.raw), c.text);
        if (c.raw >= 0 && c.raw <= 6) {
            EXPECT_EQ(orientationText(static_cast<DeviceOrientation>(c.raw)), c.text);
        }
    }
}

TEST(Orientation, ReadsTheDevice) {
    FixedDeviceInfo::Facts facts;
    facts.orientation = DeviceOrientation::landscapeRight;
    EXPECT_EQ(getDeviceOrientation(FixedDeviceInfo(facts)), "landscape");
    facts.orientation = DeviceOrientation::faceUp;
    EXPECT_EQ(getDeviceOrientation(FixedDeviceInfo(facts)), "portrait");
}

}  // namespace
}  // namespace quarra
