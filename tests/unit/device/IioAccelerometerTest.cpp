#include <gtest/gtest.h>

#include <fstream>

#include "device/IioAccelerometer.hpp"
#include "support/TempDir.hpp"

namespace quarra {
namespace {

using Files = std::vector<std::pair<std::string, std::string>>;

class IioAccelerometerTest : public ::testing::Test {
protected:
    std::filesystem::path device(const std::string& name, const Files& files) {
        auto dir = root.path() / name;
        std::filesystem::create_directories(dir);
        for (const auto& [file, content] : files) std::ofstream(dir / file) << content;
        return dir;
    }
    testing::TempDir root;
};

// A sensor lying face up: the kernel reports +1 g on z, we report -1 g.
const Files kFaceUpRaw = {{"in_accel_x_raw", "0\n"},
                          {"in_accel_y_raw", "-12\n"},
                          {"in_accel_z_raw", "1024\n"},
                          {"in_accel_scale", "0.009576806\n"}};

TEST_F(IioAccelerometerTest, ConvertsReadingsToG) {
    struct Case {
        const char* what;
        Files files;
        Acceleration expected;
    };
    const Case cases[] = {
        {"raw times shared scale", kFaceUpRaw, {0.0, 0.01171875, -1.0}},
        {"per-axis scale wins",
         {{"in_accel_x_raw", "100"}, {"in_accel_y_raw", "0"}, {"in_accel_z_raw", "0"}, {"in_accel_scale", "1"},
          {"in_accel_x_scale", "0.0980665"}},
         {-1.0, 0.0, 0.0}},
        {"offset added before scaling, per-axis offset wins",
         {{"in_accel_x_raw", "10"}, {"in_accel_y_raw", "10"}, {"in_accel_z_raw", "20"}, {"in_accel_offset", "-10"},
          {"in_accel_z_offset", "-20"}, {"in_accel_scale", "0.5"}},
         {0.0, 0.0, 0.0}},
        {"processed input files in m/s2",
         {{"in_accel_x_input", "9.80665"}, {"in_accel_y_input", "-4.903325"}, {"in_accel_z_input", "0"},
          {"in_accel_x_raw", "1"}, {"in_accel_y_raw", "1"}, {"in_accel_z_raw", "1"}},
         {-1.0, 0.5, 0.0}},
        {"no scale: raw in m/s2", {{"in_accel_x_raw", "0"}, {"in_accel_y_raw", "0"}, {"in_accel_z_raw", "-9.80665"}},
         {0.0, 0.0, 1.0}},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto reading = IioAccelerometer(device("iio:device" + std::to_string(n++), c.files)).read();
        ASSERT_TRUE(reading);
        EXPECT_NEAR(reading->x, c.expected.x, 1e-6);
        EXPECT_NEAR(reading->y, c.expected.y, 1e-6);
        EXPECT_NEAR(reading->z, c.expected.z, 1e-6);
    }
}

TEST_F(IioAccelerometerTest, FindsTheFirstDeviceWithAllThreeAxes) {
    device("iio:device0", {{"in_illuminance_raw", "40"}});
    device("iio:device1", {{"in_accel_x_raw", "0"}, {"in_accel_y_raw", "0"}});  // no z axis
    auto full = device("iio:device2", kFaceUpRaw);
    device("iio:device3", kFaceUpRaw);
    auto found = IioAccelerometer::find(root.path());
    ASSERT_TRUE(found);
    EXPECT_EQ(found->device(), full);
}

TEST_F(IioAccelerometerTest, NoAccelerometerWithoutThreeAxesOrWithoutTheTree) {
    device("iio:device0", {{"in_accel_x_raw", "0"}, {"in_accel_z_raw", "0"}, {"in_accel_scale", "1"}});
    device("iio:device1", {{"in_anglvel_x_raw", "0"}, {"in_anglvel_y_raw", "0"}, {"in_anglvel_z_raw", "0"}});
    EXPECT_FALSE(IioAccelerometer::find(root.path()));
    EXPECT_FALSE(IioAccelerometer::find(root.path() / "missing"));
}

TEST_F(IioAccelerometerTest, AnAxisThatCannotBeReadGivesNoReading) {
    struct Case {
        const char* what;
        std::function<void(const std::filesystem::path&)> damage;
    };
    const Case cases[] = {
        {"unreadable file",
         [](const auto& dir) {
             std::filesystem::remove(dir / "in_accel_y_raw");
             std::filesystem::create_directory(dir / "in_accel_y_raw");  // reading a directory fails, even as root
         }},
        {"file gone", [](const auto& dir) { std::filesystem::remove(dir / "in_accel_z_raw"); }},
        {"not a number", [](const auto& dir) { std::ofstream(dir / "in_accel_x_raw") << "busy\n"; }},
        {"empty", [](const auto& dir) { std::ofstream(dir / "in_accel_x_raw", std::ios::trunc); }},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto dir = device("iio:device" + std::to_string(n++), kFaceUpRaw);
        IioAccelerometer accelerometer(dir);
        ASSERT_TRUE(accelerometer.read());
        c.damage(dir);
        EXPECT_FALSE(accelerometer.read());
    }
}

}  // namespace
}  // namespace quarra
