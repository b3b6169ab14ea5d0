// The marketing model names, exactly as the table gives them.
#include <gtest/gtest.h>

#include <set>

#include "device/ModelTable.hpp"
#include <quarra/testing/FixedDeviceInfo.hpp>

namespace quarra {
namespace {

TEST(ModelTable, MapsIdentifiersToNames) {
    struct Case {
        const char* identifier;
        const char* name;
    };
    const Case cases[] = {
        {"iPhone12,5", "iPhone 11 Pro Max"},
        {"iPhone11,6", "iPhone XS Max"},
        {"iPhone3,3", "iPhone 4"},
        {"iPhone8,4", "iPhone SE"},
        {"iPhone10,6", "iPhone X"},
        {"iPod5,1", "iPod Touch 5"},
        {"iPod7,1", "iPod Touch 6"},
        {"iPad2,5", "iPad Mini"},
        {"iPad4,9", "iPad Mini 3"},
        {"iPad6,11", "iPad 5 (2017)"},
        {"iPad7,2", "iPad Pro 2 12.9"},
        {"iPad7,6", "iPad 6 (2018)"},
        {"AppleTV5,3", "Apple TV"},
        {"AppleTV6,2", "Apple TV 4k"},
        {"x86_64", "Simulator"},
        {"i386", "Simulator"},
        // Not in the table: returned as they stand.
        {"arm64", "arm64"},
        {"iPhone14,2", "iPhone14,2"},
        {"iPhone12,2", "iPhone12,2"},
        {"iphone12,5", "iphone12,5"},
        {"IPHONE12,5", "IPHONE12,5"},
        {"iPhone12,5 ", "iPhone12,5 "},
        {"X86_64", "X86_64"},
        {"", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.identifier);
        EXPECT_EQ(modelName(std::string_view(c.identifier)), c.name);
    }
}

TEST(ModelTable, Holds76IdentifiersFor41Names) {
    std::set<std::string_view> identifiers;
    std::set<std::string_view> names;
    for (const auto& [identifier, name] : modelTable()) {
        identifiers.insert(identifier);
        names.insert(name);
    }
    EXPECT_EQ(modelTable().size(), 76u);
    EXPECT_EQ(identifiers.size(), 76u) << "no identifier appears twice";
    EXPECT_EQ(names.size(), 41u);
}

TEST(ModelTable, NamesTheDeviceFromItsMachineIdentifier) {
    FixedDeviceInfo::Facts facts;
    facts.machineIdentifier = "iPhone10,3";
    EXPECT_EQ(modelName(FixedDeviceInfo(facts)), "iPhone X");
    facts.machineIdentifier = "Raspberry Pi 4 Model B Rev 1.4";
    EXPECT_EQ(modelName(FixedDeviceInfo(facts)), "Raspberry Pi 4 Model B Rev 1.4");
}

}  // namespace
}  // namespace quarra
