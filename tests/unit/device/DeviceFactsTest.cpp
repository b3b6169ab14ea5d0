// The Linux device facts, read from a fake system tree.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <limits>
#include <map>
#include <set>
#include <thread>
#include <vector>

#include <quarra/KeychainWrapper.hpp>

#include <quarra/testing/MemorySecureItemStore.hpp>
#include "platform/LinuxDeviceInfo.hpp"
#include "platform/VendorIdentifier.hpp"
#include "support/TempDir.hpp"

namespace quarra {
namespace {

using Files = std::map<std::string, std::string>;

struct FakeSystem {
    explicit FakeSystem(const Files& files = {}, std::map<std::string, std::string> variables = {}) {
        for (const auto& [path, content] : files) {
            auto full = root.path() / path;
            std::filesystem::create_directories(full.parent_path());
            std::ofstream(full, std::ios::binary) << content;
        }
        settings.root = root.path();
        settings.hostName = [] { return std::string("kitchen-pc"); };
        settings.unameMachine = [] { return std::string("aarch64"); };
        settings.environmentVariable = [variables = std::move(variables)](const std::string& name) {
            auto found = variables.find(name);
            return found == variables.end() ? std::nullopt : std::optional<std::string>(found->second);
        };
    }
    std::shared_ptr<DeviceInfo> device() const { return makeLinuxDeviceInfo(settings); }

    testing::TempDir root;
    LinuxDeviceInfoSettings settings;
};

TEST(LinuxDeviceFacts, SystemNameFromOsRelease) {
    struct Case {
        const char* name;
        Files files;
        const char* expected;
    };
    const Case cases[] = {
        {"quoted", {{"etc/os-release", "PRETTY_NAME=\"Debian 12\"\nNAME=\"Debian GNU/Linux\"\nID=debian\n"}},
         "Debian GNU/Linux"},
        {"unquoted", {{"etc/os-release", "ID=fedora\nNAME=Fedora Linux\n"}}, "Fedora Linux"},
        {"only the vendor copy", {{"usr/lib/os-release", "NAME='Arch Linux'\n"}}, "Arch Linux"},
        {"no NAME line", {{"etc/os-release", "ID=custom\n"}}, "Linux"},
        {"no file", {}, "Linux"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FakeSystem(c.files).device()->systemName(), c.expected);
    }
}

TEST(LinuxDeviceFacts, MachineIdentifierPrefersDeviceTreeThenDmiThenUname) {
    struct Case {
        const char* name;
        Files files;
        const char* expected;
    };
    const Case cases[] = {
        {"device tree", {{"proc/device-tree/model", std::string("Raspberry Pi 4 Model B Rev 1.4\0", 31)}},
         "Raspberry Pi 4 Model B Rev 1.4"},
        {"device tree wins over DMI",
         {{"proc/device-tree/model", std::string("Pine64 PinePhone\0", 17)},
          {"sys/class/dmi/id/product_name", "Other\n"}},
         "Pine64 PinePhone"},
        {"DMI product", {{"sys/class/dmi/id/product_name", "ThinkPad X1 Carbon Gen 9\n"}}, "ThinkPad X1 Carbon Gen 9"},
        {"DMI placeholder", {{"sys/class/dmi/id/product_name", "To Be Filled By O.E.M.\n"}}, "aarch64"},
        {"empty DMI", {{"sys/class/dmi/id/product_name", "\n"}}, "aarch64"},
        {"nothing readable", {}, "aarch64"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FakeSystem(c.files).device()->machineIdentifier(), c.expected);
    }
}

TEST(LinuxDeviceFacts, NameKindAndScreen) {
    FakeSystem system(Files{{"sys/class/dmi/id/chassis_type", "10\n"}});
    system.settings.screenWidth = 1280.5;
    system.settings.screenHeight = 800;
    auto device = system.device();
    EXPECT_EQ(device->name(), "kitchen-pc");
    EXPECT_EQ(device->localizedModel(), "Laptop");
    EXPECT_EQ(device->screenSize(), (ScreenPoints{1280.5, 800}));
    EXPECT_EQ(device->orientation(), DeviceOrientation::unknown);
}

TEST(LinuxDeviceFacts, OrientationIsAskedOfTheHostEachTime) {
    FakeSystem system(Files{});
    auto orientation = DeviceOrientation::portrait;
    system.settings.orientation = [&orientation] { return orientation; };
    auto device = system.device();
    EXPECT_EQ(device->orientation(), DeviceOrientation::portrait);
    orientation = DeviceOrientation::landscapeRight;
    EXPECT_EQ(device->orientation(), DeviceOrientation::landscapeRight);
}

TEST(LinuxDeviceFacts, UnusableScreenSizeGivesTheDefault) {
    const double bad[] = {std::nan(""), std::numeric_limits<double>::infinity(), -1.0};
    for (double value : bad) {
        SCOPED_TRACE(value);
        FakeSystem system;
        system.settings.screenWidth = value;
        system.settings.screenHeight = value;
        EXPECT_EQ(system.device()->screenSize(), (ScreenPoints{390, 844}));
    }
}

TEST(LinuxDeviceFacts, PreferredLanguagesFromHostOrLocale) {
    using Variables = std::map<std::string, std::string>;
    struct Case {
        const char* name;
        std::vector<std::string> fromHost;
        Variables variables;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"host list wins", {"fr-CA", "en"}, {{"LANG", "de_DE.UTF-8"}}, {"fr-CA", "en"}},
        {"LANG", {}, {{"LANG", "de_DE.UTF-8"}}, {"de-DE"}},
        {"LANGUAGE list first", {}, {{"LANGUAGE", "sv_SE:fr"}, {"LANG", "en_US.UTF-8"}}, {"sv-SE", "fr", "en-US"}},
        {"LC_ALL over LANG", {}, {{"LC_ALL", "pt_BR.UTF-8"}, {"LANG", "en_US.UTF-8"}}, {"pt-BR"}},
        {"duplicates once", {}, {{"LANGUAGE", "en_US"}, {"LANG", "en_US.UTF-8"}}, {"en-US"}},
        {"C locale", {}, {{"LANG", "C.UTF-8"}}, {"en-US"}},
        {"nothing set", {}, {}, {"en-US"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeSystem system(Files{}, c.variables);
        system.settings.preferredLanguages = c.fromHost;
        EXPECT_EQ(system.device()->preferredLanguages(), c.expected);
    }
}

TEST(LinuxDeviceFacts, LanguageTagFromLocaleName) {
    struct Case {
        const char* locale;
        std::optional<std::string> tag;
    };
    const Case cases[] = {
        {"de_DE.UTF-8@euro", "de-DE"}, {"sr_RS@latin", "sr-RS"}, {"en", "en"}, {"C", std::nullopt},
        {"POSIX", std::nullopt},       {"", std::nullopt},        {"en_US;rm -rf", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.locale);
        EXPECT_EQ(languageTagFromLocale(c.locale), c.tag);
    }
}

TEST(LinuxDeviceFacts, TimeZoneOffsetIsARealOffsetInSeconds) {
    auto device = FakeSystem().device();
    auto offset = device->timeZoneOffsetSeconds(std::chrono::system_clock::now());
    EXPECT_LE(std::abs(offset), 14 * 3600);
    EXPECT_EQ(offset % 60, 0);
}

bool isVersion4(const std::string& id) {
    return isUUIDText(id) && id[14] == '4' && std::string("89AB").find(id[19]) != std::string::npos &&
           id == [&] {
               std::string upper = id;
               for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
               return upper;
           }();
}

TEST(VendorIdentifier, StableAcrossInstancesOnTheSameStore) {
    auto store = std::make_shared<MemorySecureItemStore>();
    KeychainWrapper firstRun("net.quarra.host", std::nullopt, store);
    KeychainWrapper secondRun("net.quarra.host", std::nullopt, store);

    FakeSystem first, second;
    first.settings.keychain = &firstRun;
    second.settings.keychain = &secondRun;
    auto id = first.device()->identifierForVendor();
    ASSERT_TRUE(id.has_value());
    EXPECT_TRUE(isVersion4(*id)) << *id;
    EXPECT_EQ(second.device()->identifierForVendor(), id);
    EXPECT_EQ(firstRun.string(kVendorIdKey), id);

    KeychainWrapper otherInstall("net.quarra.host", std::nullopt, std::make_shared<MemorySecureItemStore>());
    FakeSystem other;
    other.settings.keychain = &otherInstall;
    EXPECT_NE(other.device()->identifierForVendor(), id);
}

TEST(VendorIdentifier, StoredTextIsCheckedBeforeUse) {
    struct Case {
        const char* stored;
        std::optional<std::string> expected;  // none: a fresh identifier replaces it
    };
    const Case cases[] = {
        {"5b8a3f0e-4c1d-4e2f-9a6b-7c8d9e0f1a2b", "5B8A3F0E-4C1D-4E2F-9A6B-7C8D9E0F1A2B"},
        {"not-a-uuid", std::nullopt},
        {"5B8A3F0E4C1D4E2F9A6B7C8D9E0F1A2B", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        KeychainWrapper keychain("net.quarra.host", std::nullopt, std::make_shared<MemorySecureItemStore>());
        ASSERT_TRUE(keychain.set(std::string(c.stored), kVendorIdKey));
        auto id = loadOrCreateVendorIdentifier(keychain, kVendorIdKey);
        ASSERT_TRUE(id.has_value());
        if (c.expected) {
            EXPECT_EQ(*id, *c.expected);
        } else {
            EXPECT_TRUE(isVersion4(*id)) << *id;
            EXPECT_EQ(keychain.string(kVendorIdKey), id) << "the replacement is kept";
        }
    }
}

TEST(VendorIdentifier, AbsentWithoutAStoreAndFreshEachTime) {
    EXPECT_FALSE(FakeSystem().device()->identifierForVendor().has_value());
    std::set<std::string> seen;
    for (int i = 0; i < 200; ++i) {
        auto id = makeRandomUUID();
        ASSERT_TRUE(isVersion4(id)) << id;
        seen.insert(id);
    }
    EXPECT_EQ(seen.size(), 200u);
}

// Keys come from per-thread blocks of random bytes: threads must never hand
// out the same key, and every block boundary must still give well-formed ones.
TEST(VendorIdentifier, FreshKeysFromSeveralThreadsNeverRepeat) {
    constexpr int kThreads = 4, kEach = 300;
    std::vector<std::vector<std::string>> made(kThreads);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&made, t] {
            for (int i = 0; i < kEach; ++i) made[t].push_back(makeRandomUUID());
        });
    }
    for (auto& thread : threads) thread.join();
    std::set<std::string> seen;
    for (const auto& ids : made) {
        for (const auto& id : ids) {
            EXPECT_TRUE(isVersion4(id)) << id;
            seen.insert(id);
        }
    }
    EXPECT_EQ(seen.size(), static_cast<size_t>(kThreads * kEach));
}

}  // namespace
}  // namespace quarra
