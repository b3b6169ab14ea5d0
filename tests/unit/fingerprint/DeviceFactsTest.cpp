#include <gtest/gtest.h>

#include <fstream>

#include "fingerprint/DeviceFacts.hpp"
#include "support/TempDir.hpp"

namespace quarra {
namespace {

namespace fs = std::filesystem;

class DeviceFactsTest : public ::testing::Test {
protected:
    void file(const std::string& path, const std::string& content, fs::perms mode = fs::perms(0444)) {
        fs::create_directories((root.path() / path).parent_path());
        std::ofstream(root.path() / path) << content;
        fs::permissions(root.path() / path, mode);
    }
    // A network interface; physical ones have a device link.
    void interface(const std::string& name, const std::string& address, bool physical, const char* assignType = "0") {
        file("sys/class/net/" + name + "/address", address + "\n");
        file("sys/class/net/" + name + "/addr_assign_type", std::string(assignType) + "\n");
        if (physical) fs::create_directories(root.path() / ("sys/class/net/" + name + "/device"));
    }
    DeviceFacts facts() { return collectDeviceFacts(root.path(), data.path()); }

    testing::TempDir root, data;
};

TEST_F(DeviceFactsTest, CollectsTheWorldReadableIdentityOfTheDevice) {
    file("etc/machine-id", "4c4c4544004c\n");
    file("sys/class/dmi/id/product_name", "ThinkPad X1\n");
    file("sys/class/dmi/id/product_uuid", "secret-uuid\n", fs::perms(0400));  // root only: left out
    file("proc/device-tree/model", std::string("Raspberry Pi 4\0", 15));
    interface("lo", "00:00:00:00:00:00", false);
    interface("eth0", "52:54:00:12:34:56", true);
    interface("wlan0", "aa:bb:cc:dd:ee:ff", true, "1");  // randomised address
    interface("docker0", "02:42:ac:11:00:02", false);    // virtual
    interface("usb0", "00:00:00:00:00:00", true);

    EXPECT_EQ(facts(), (DeviceFacts{{"dmi-product-name", "ThinkPad X1"},
                                    {"dt-model", "Raspberry Pi 4"},
                                    {"mac:eth0", "52:54:00:12:34:56"},
                                    {"machine-id", "4c4c4544004c"}}));
    EXPECT_FALSE(fs::exists(data.path() / "device-identity"));
}

TEST_F(DeviceFactsTest, WithoutIdentifyingFactsAnInstallationIdentifierStandsIn) {
    file("sys/class/dmi/id/product_name", "Standard PC\n");
    auto first = facts();
    ASSERT_EQ(first.size(), 2u);
    EXPECT_EQ(first[1].first, "installation");
    EXPECT_EQ(first[1].second.size(), 32u);
    EXPECT_EQ(fs::status(data.path() / "device-identity").permissions() & fs::perms::all, fs::perms(0600));
    EXPECT_EQ(facts(), first);  // kept in the data directory

    testing::TempDir otherData;
    EXPECT_NE(collectDeviceFacts(root.path(), otherData.path()), first);
}

TEST_F(DeviceFactsTest, ADamagedInstallationFileIsReplaced) {
    std::ofstream(data.path() / "device-identity") << "not hex";
    auto got = facts();
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].second.size(), 32u);
    EXPECT_EQ(facts(), got);
}

}  // namespace
}  // namespace quarra
