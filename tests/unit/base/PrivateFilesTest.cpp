// The library's directory is private: made so, tightened when it is not, or
// refused when it is another user's.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>

#include "base/PrivateFiles.hpp"
#include "support/TempDir.hpp"

namespace quarra {
namespace {

mode_t modeOf(const std::filesystem::path& path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 ? (status.st_mode & 0777) : 0;
}

TEST(PrivateFiles, TheDirectoryEndsPrivateOrIsRefused) {
    struct Case {
        const char* name;
        std::function<void(const std::filesystem::path&)> before;
        bool refused;
        mode_t mode;  // when not refused
    };
    const bool root = ::geteuid() == 0;
    const Case cases[] = {
        {"missing: made with mode 0700", [](const std::filesystem::path&) {}, false, 0700},
        {"ours and open to others: tightened",
         [](const std::filesystem::path& d) {
             std::filesystem::create_directory(d);
             ::chmod(d.c_str(), 0755);
         },
         false, 0700},
        {"already private: left as it is",
         [](const std::filesystem::path& d) {
             std::filesystem::create_directory(d);
             ::chmod(d.c_str(), 0700);
         },
         false, 0700},
        {"a file in the way", [](const std::filesystem::path& d) { std::ofstream(d) << "x"; }, true, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        testing::TempDir scratch;
        const auto directory = scratch.path() / "data";
        c.before(directory);
        auto error = makePrivateDirectory(directory);
        EXPECT_EQ(error.has_value(), c.refused) << error.value_or("");
        if (!c.refused) {
            EXPECT_EQ(modeOf(directory), c.mode);
        }
    }
    if (!root) GTEST_SKIP() << "giving a directory to another user needs root";
    testing::TempDir scratch;
    const auto theirs = scratch.path() / "theirs";
    std::filesystem::create_directory(theirs);
    ::chmod(theirs.c_str(), 0755);
    ASSERT_EQ(::chown(theirs.c_str(), 65534, 65534), 0);
    auto error = makePrivateDirectory(theirs);
    ASSERT_TRUE(error);
    EXPECT_NE(error->find("belongs to another one"), std::string::npos) << *error;
    EXPECT_EQ(modeOf(theirs), 0755u) << "another user's directory is not touched";
}

}  // namespace
}  // namespace quarra
