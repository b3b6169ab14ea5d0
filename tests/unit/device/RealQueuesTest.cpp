// The geocoder and the accelerometer source on real queues, used from other
// threads at the same time (for the thread sanitizer's benefit).
#include <gtest/gtest.h>

#include <fstream>
#include <future>
#include <thread>

#include "device/GeoTableWriter.hpp"
#include "device/IioAccelerometerSource.hpp"
#include "device/OfflineReverseGeocoder.hpp"
#include "support/TempDir.hpp"

namespace quarra {
namespace {

using namespace std::chrono_literals;

TEST(RealQueues, GeocoderAnswersRequestsFromSeveralThreads) {
    auto geocoder = std::make_shared<OfflineReverseGeocoder>(makeSerialQueue("test-geocoder"), [](std::string*) {
        auto bytes = std::make_shared<std::vector<unsigned char>>(
            writeGeoTable({{"Suva", "Central", "Fiji", "FJ", -18.14161, 178.44149}}).value());
        return GeoTable::parse(*bytes, bytes);
    });
    auto ask = [&](int count) {
        int found = 0;
        for (int i = 0; i < count; ++i) {
            std::promise<bool> answered;
            geocoder->reverseGeocodeLocation(-18.1, 178.4, [&](auto placemarks, auto) {
                answered.set_value(placemarks && placemarks->size() == 1);
            });
            found += answered.get_future().get() ? 1 : 0;
        }
        return found;
    };
    auto other = std::async(std::launch::async, ask, 25);
    EXPECT_EQ(ask(25), 25);
    EXPECT_EQ(other.get(), 25);
}

TEST(RealQueues, AccelerometerIsReadWhileItSamples) {
    testing::TempDir root;
    auto dir = root.path() / "iio:device0";
    std::filesystem::create_directories(dir);
    for (const char* axis : {"x", "y", "z"}) std::ofstream(dir / (std::string("in_accel_") + axis + "_raw")) << "100\n";
    std::ofstream(dir / "in_accel_scale") << "0.0980665\n";

    auto sampler = makeSerialQueue("test-sampler");
    IioAccelerometerSource source(root.path(), sampler);
    ASSERT_TRUE(source.isAccelerometerAvailable());
    source.setAccelerometerUpdateInterval(10ms);
    source.startAccelerometerUpdates();
    std::promise<void> firstSampleTaken;  // the queue is serial: this runs after the first sample
    sampler->post([&] { firstSampleTaken.set_value(); });
    firstSampleTaken.get_future().wait();

    uint64_t last = 0;
    for (int i = 0; i < 1000; ++i) {
        auto sample = source.accelerometerData();
        ASSERT_TRUE(sample);
        EXPECT_GE(sample->sequence, last);
        last = sample->sequence;
        EXPECT_DOUBLE_EQ(sample->acceleration.z, -1.0);
    }
}

}  // namespace
}  // namespace quarra
