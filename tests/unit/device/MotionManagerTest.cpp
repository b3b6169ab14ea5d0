#include <gtest/gtest.h>

#include "device/MotionManager.hpp"
#include <quarra/testing/ManualExecutor.hpp>
#include "support/CapturingConsole.hpp"

namespace quarra {
namespace {

using namespace std::chrono_literals;

// A sensor the test scripts: whether it exists and its latest sample.
class ScriptedAccelerometer final : public AccelerometerSource {
public:
    bool isAccelerometerAvailable() override { return available; }
    void setAccelerometerUpdateInterval(std::chrono::milliseconds value) override { interval = value; }
    void startAccelerometerUpdates() override { ++starts; }
    std::optional<AccelerometerSample> accelerometerData() override { return sample; }

    void deliver(Acceleration reading) { sample = AccelerometerSample{reading, ++sequence}; }

    bool available = true;
    std::optional<AccelerometerSample> sample;
    std::chrono::milliseconds interval{0};
    int starts = 0;
    uint64_t sequence = 0;
};

class MotionManagerTest : public ::testing::Test {
protected:
    std::shared_ptr<MotionManager> makeManager() {
        return MotionManager::create({
            .source = sensor,
            .mainExecutor = main,
            .console = std::make_shared<Console>(lines, main->clock()),
            .localizedModel = [] { return std::string("Laptop"); },
        });
    }

    std::shared_ptr<ScriptedAccelerometer> sensor = std::make_shared<ScriptedAccelerometer>();
    std::shared_ptr<ManualExecutor> main = std::make_shared<ManualExecutor>();
    std::shared_ptr<testing::CapturingConsole> lines = std::make_shared<testing::CapturingConsole>();
};

TEST_F(MotionManagerTest, WithoutAnAccelerometerEveryStartSaysSoAndNothingPolls) {
    sensor->available = false;
    auto manager = makeManager();
    manager->startUpdates();
    manager->startUpdates();
    EXPECT_EQ(lines->lines(), (std::vector<std::string>{"No Accelerometers on this device: Laptop",
                                                        "No Accelerometers on this device: Laptop"}));
    EXPECT_EQ(sensor->starts, 0);
    EXPECT_EQ(main->pending(), 0u);
    main->advance(1s);
    EXPECT_FALSE(manager->acceleration());
}

TEST_F(MotionManagerTest, TheFirstTapFindsNoReadingAndALaterOneDoes) {
    auto manager = makeManager();
    manager->startUpdates();  // tap 1
    EXPECT_EQ(sensor->interval, 500ms);
    EXPECT_EQ(sensor->starts, 1);
    EXPECT_FALSE(manager->acceleration());  // read right after the start

    main->advance(MotionManager::kPollInterval);  // polled before the sensor's first sample
    EXPECT_FALSE(manager->acceleration());
    EXPECT_TRUE(lines->lines().empty());

    sensor->deliver({0.0012, -0.0105, -0.9996});
    main->advance(MotionManager::kPollInterval);
    manager->startUpdates();  // tap 2
    EXPECT_EQ(manager->acceleration(), (Acceleration{0.0012, -0.0105, -0.9996}));
    EXPECT_EQ(lines->lines(), std::vector<std::string>{"X: 0.0012 Y: -0.0105 Z: -0.9996"});
}

TEST_F(MotionManagerTest, PrintsEachNewReadingOnceWhateverThePollRate) {
    auto manager = makeManager();
    manager->startUpdates();
    sensor->deliver({0.0, 0.0, -1.0});
    main->advance(500ms);  // ten polls, one reading
    sensor->deliver({0.5, 0.25, -1.0});
    main->advance(500ms);
    EXPECT_EQ(lines->lines(), (std::vector<std::string>{"X: 0.0 Y: 0.0 Z: -1.0", "X: 0.5 Y: 0.25 Z: -1.0"}));
}

TEST_F(MotionManagerTest, AReadingThatDisappearsLeavesNoAcceleration) {
    auto manager = makeManager();
    manager->startUpdates();
    sensor->deliver({0.1, 0.2, 0.3});
    main->advance(MotionManager::kPollInterval);
    ASSERT_TRUE(manager->acceleration());
    sensor->sample.reset();
    main->advance(MotionManager::kPollInterval);
    EXPECT_FALSE(manager->acceleration());
}

TEST_F(MotionManagerTest, ManyStartsKeepOnePoller) {
    auto manager = makeManager();
    for (int tap = 0; tap < 5; ++tap) manager->startUpdates();
    EXPECT_EQ(main->pending(), 1u);
    EXPECT_EQ(main->advance(1s), size_t(1s / MotionManager::kPollInterval));
    EXPECT_TRUE(manager->isPolling());
}

TEST_F(MotionManagerTest, ThePollEndsWithTheManager) {
    auto manager = makeManager();
    manager->startUpdates();
    manager.reset();
    main->advance(1s);
    EXPECT_EQ(main->pending(), 0u);
}

}  // namespace
}  // namespace quarra
