#include <gtest/gtest.h>

#include <fstream>

#include "device/IioAccelerometerSource.hpp"
#include <quarra/testing/ManualExecutor.hpp>
#include "support/TempDir.hpp"

namespace quarra {
namespace {

using namespace std::chrono_literals;

class IioAccelerometerSourceTest : public ::testing::Test {
protected:
    void writeDevice(int x, int y, int z) {
        auto dir = root.path() / "iio:device0";
        std::filesystem::create_directories(dir);
        std::ofstream(dir / "in_accel_x_raw") << x << "\n";
        std::ofstream(dir / "in_accel_y_raw") << y << "\n";
        std::ofstream(dir / "in_accel_z_raw") << z << "\n";
        std::ofstream(dir / "in_accel_scale") << "0.0980665\n";  // 100 counts per g
    }
    IioAccelerometerSource makeSource() {
        return IioAccelerometerSource(root.path(), sampler, [this](const std::string& m) { problems.push_back(m); });
    }

    testing::TempDir root;
    std::shared_ptr<ManualExecutor> sampler = std::make_shared<ManualExecutor>();
    std::vector<std::string> problems;
};

TEST_F(IioAccelerometerSourceTest, WithoutADeviceNothingStarts) {
    auto source = makeSource();
    EXPECT_FALSE(source.isAccelerometerAvailable());
    source.startAccelerometerUpdates();
    EXPECT_EQ(sampler->pending(), 0u);
    EXPECT_FALSE(source.accelerometerData());
}

TEST_F(IioAccelerometerSourceTest, ADeviceThatAppearsLaterIsFound) {
    auto source = makeSource();
    EXPECT_FALSE(source.isAccelerometerAvailable());
    writeDevice(0, 0, 100);
    EXPECT_TRUE(source.isAccelerometerAvailable());
}

TEST_F(IioAccelerometerSourceTest, SamplesOnItsQueueAtTheUpdateInterval) {
    writeDevice(0, 0, 100);
    auto source = makeSource();
    ASSERT_TRUE(source.isAccelerometerAvailable());
    source.setAccelerometerUpdateInterval(500ms);
    source.startAccelerometerUpdates();
    EXPECT_FALSE(source.accelerometerData());  // no read on the caller's thread

    sampler->runUntilIdle();
    auto first = source.accelerometerData();
    ASSERT_TRUE(first);
    EXPECT_EQ(first->acceleration, (Acceleration{-0.0, -0.0, -1.0}));

    writeDevice(50, 0, 0);
    sampler->advance(499ms);
    EXPECT_EQ(source.accelerometerData()->sequence, first->sequence);
    sampler->advance(1ms);
    auto second = source.accelerometerData();
    EXPECT_EQ(second->sequence, first->sequence + 1);
    EXPECT_DOUBLE_EQ(second->acceleration.x, -0.5);
}

TEST_F(IioAccelerometerSourceTest, StartingTwiceKeepsOneSampler) {
    writeDevice(0, 0, 100);
    auto source = makeSource();
    ASSERT_TRUE(source.isAccelerometerAvailable());
    source.startAccelerometerUpdates();
    source.startAccelerometerUpdates();
    EXPECT_EQ(sampler->pending(), 1u);
    sampler->runUntilIdle();
    EXPECT_EQ(sampler->pending(), 1u);  // the next sample only
}

TEST_F(IioAccelerometerSourceTest, AFailingSensorKeepsTheLastReadingAndIsReportedOnce) {
    writeDevice(0, 0, 100);
    auto source = makeSource();
    ASSERT_TRUE(source.isAccelerometerAvailable());
    source.startAccelerometerUpdates();
    sampler->runUntilIdle();
    auto good = source.accelerometerData();

    std::filesystem::remove(root.path() / "iio:device0" / "in_accel_x_raw");
    sampler->advance(2s);
    EXPECT_EQ(source.accelerometerData()->sequence, good->sequence);
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_NE(problems[0].find("Could not read the accelerometer"), std::string::npos);

    writeDevice(0, 0, 100);
    sampler->advance(500ms);
    EXPECT_GT(source.accelerometerData()->sequence, good->sequence);
}

TEST_F(IioAccelerometerSourceTest, SamplingStopsWhenTheSourceIsGone) {
    writeDevice(0, 0, 100);
    {
        auto source = makeSource();
        ASSERT_TRUE(source.isAccelerometerAvailable());
        source.startAccelerometerUpdates();
        sampler->runUntilIdle();
    }
    sampler->advance(5s);
    EXPECT_EQ(sampler->pending(), 0u);
}

}  // namespace
}  // namespace quarra
