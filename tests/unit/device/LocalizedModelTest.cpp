#include <gtest/gtest.h>

#include <fstream>

#include "platform/LocalizedModel.hpp"
#include "support/TempDir.hpp"

namespace quarra {
namespace {

TEST(LocalizedModel, NamesTheChassisKind) {
    struct Case {
        const char* chassisType;
        const char* expected;
    };
    for (auto c : {Case{"3", "Desktop"}, Case{"10", "Laptop"}, Case{"31", "Laptop"}, Case{"30", "Tablet"},
                   Case{"23", "Server"}, Case{"1", "Computer"}, Case{"junk", "Computer"}}) {
        testing::TempDir root;
        std::filesystem::create_directories(root.path() / "sys/class/dmi/id");
        std::ofstream(root.path() / "sys/class/dmi/id/chassis_type") << c.chassisType << "\n";
        EXPECT_EQ(localizedModel(root.path()), c.expected) << c.chassisType;
    }
    testing::TempDir empty;
    EXPECT_EQ(localizedModel(empty.path()), "Computer");
}

}  // namespace
}  // namespace quarra
