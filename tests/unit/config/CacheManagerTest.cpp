#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <set>
#include <string>

#include "config/CacheFileFormat.hpp"
#include "config/CacheManager.hpp"
#include "base/Limits.hpp"
#include "support/TempDir.hpp"

// GCC 12 at -O2 misreads the in-place edits of the damaged copies below as
// writes past a string's end (a known false positive of -Wstringop-overflow).
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wstringop-overflow"
#endif

namespace quarra {
namespace {

namespace fs = std::filesystem;

std::string slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void spit(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

mode_t permissions(const fs::path& path) {
    struct stat info {};
    EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
    return info.st_mode & 0777;
}

std::set<std::string> namesIn(const fs::path& directory) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(directory)) names.insert(entry.path().filename().string());
    return names;
}

class CacheManagerTest : public ::testing::Test {
protected:
    testing::TempDir dir_;
    CacheManager cache_{dir_.path() / "app"};
    fs::path file_ = dir_.path() / "app" / "DataCache" / "ConfigCache.json";
};

TEST_F(CacheManagerTest, FileUrlIsInsideAPrivateDataCacheDirectory) {
    EXPECT_EQ(cache_.fileURL(CacheManager::kCacheFileName), file_);
    EXPECT_TRUE(fs::is_directory(file_.parent_path()));
    EXPECT_EQ(permissions(file_.parent_path()), 0700u);
    EXPECT_FALSE(fs::exists(file_));  // asking for the name creates no file
}

TEST_F(CacheManagerTest, WriteThenReadGivesBackTheExactBytes) {
    const std::string payloads[] = {
        "",
        R"({"data":{"transactionId":"T"}})",
        std::string("\0\x01\xff\xfe binary \r\n\0", 16),
        std::string(1 << 20, 'x'),
    };
    for (const auto& payload : payloads) {
        ASSERT_TRUE(cache_.write(payload));
        EXPECT_EQ(cache_.read(), payload) << "payload of " << payload.size() << " bytes";
    }
    EXPECT_EQ(permissions(file_), 0600u);
}

TEST_F(CacheManagerTest, MissingFileIsAReadFailure) {
    CacheReadFailure failure{};
    EXPECT_EQ(cache_.read(failure), std::nullopt);
    EXPECT_EQ(failure, CacheReadFailure::missing);
}

TEST_F(CacheManagerTest, DamagedOrForeignFilesAreReadFailures) {
    const std::string payload = R"({"data":{"transactionId":"T-9"}})";
    const std::string good = *cachefile::wrap(payload);
    const size_t payloadAt = cachefile::kHeaderSize;
    struct Case {
        const char* name;
        std::function<std::string(std::string)> damage;
    };
    const Case cases[] = {
        {"empty file", [](std::string) { return std::string(); }},
        {"foreign JSON text", [&](std::string) { return payload; }},
        {"truncated in half", [](std::string f) { return f.substr(0, f.size() / 2); }},
        {"last byte missing", [](std::string f) { return f.substr(0, f.size() - 1); }},
        {"extra byte at the end", [](std::string f) { f.push_back('\0'); return f; }},
        {"payload byte changed", [&](std::string f) { f[payloadAt + 3] ^= 0x20; return f; }},
        {"checksum byte changed", [](std::string f) { f.back() ^= 0x01; return f; }},
        {"magic changed", [](std::string f) { f[0] = 'X'; return f; }},
        {"version changed", [](std::string f) { f[8] = 2; return f; }},
        {"length says more", [](std::string f) { f[12] = static_cast<char>(f[12] + 1); return f; }},
        {"length near 2^64", [](std::string f) { for (int i = 12; i < 20; ++i) f[i] = '\xff'; return f; }},
        {"header only", [](std::string f) { return f.substr(0, cachefile::kHeaderSize); }},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(cache_.write("placeholder"));  // creates the directory
        spit(file_, c.damage(good));
        CacheReadFailure failure{};
        EXPECT_EQ(cache_.read(failure), std::nullopt) << c.name;
        EXPECT_EQ(failure, CacheReadFailure::damaged) << c.name;
    }
}

TEST_F(CacheManagerTest, ADirectoryInPlaceOfTheFileIsUnreadable) {
    fs::create_directories(file_);
    CacheReadFailure failure{};
    EXPECT_EQ(cache_.read(failure), std::nullopt);
    EXPECT_EQ(failure, CacheReadFailure::unreadable);
    EXPECT_FALSE(cache_.write("x"));
}

TEST_F(CacheManagerTest, WriteFailsCleanlyWhenTheCacheDirectoryCannotExist) {
    fs::create_directories(dir_.path() / "app");
    spit(dir_.path() / "app" / "DataCache", "a file where the directory should be");
    EXPECT_FALSE(cache_.write("bytes"));
    CacheReadFailure failure{};
    EXPECT_EQ(cache_.read(failure), std::nullopt);
    EXPECT_EQ(failure, CacheReadFailure::unreadable);
}

TEST(CacheManagerReadOnly, WriteWhereNothingCanBeCreatedFailsCleanly) {
    // Nobody, root included, can create files under /proc.
    CacheManager cache("/proc/self");
    EXPECT_FALSE(cache.write("bytes"));
    EXPECT_EQ(cache.read(), std::nullopt);
}

TEST_F(CacheManagerTest, WriteIntoAReadOnlyDirectoryFailsAndKeepsTheOldFile) {
    if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only directories";
    ASSERT_TRUE(cache_.write("old"));
    fs::permissions(file_.parent_path(), fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_FALSE(cache_.write("new"));
    fs::permissions(file_.parent_path(), fs::perms::owner_all);
    EXPECT_EQ(cache_.read(), "old");
}

TEST_F(CacheManagerTest, AFailedWriteLeavesThePreviousDocument) {
    ASSERT_TRUE(cache_.write("previous"));
    EXPECT_FALSE(cache_.write(std::string(limits::kMaxConfigCacheBytes + 1, 'x')));
    EXPECT_EQ(cache_.read(), "previous");
    EXPECT_EQ(namesIn(file_.parent_path()), std::set<std::string>{"ConfigCache.json"});
}

TEST_F(CacheManagerTest, ReplacementIsWholeAndLeftoverTemporaryFilesAreHarmless) {
    ASSERT_TRUE(cache_.write("first"));
    // What a crash between creating and renaming the temporary file leaves behind.
    spit(file_.parent_path() / "ConfigCache.json.tmp-abc123", "torn half-writ");
    EXPECT_EQ(cache_.read(), "first");
    ASSERT_TRUE(cache_.write("second"));
    EXPECT_EQ(cache_.read(), "second");
    EXPECT_EQ(namesIn(file_.parent_path()),
              (std::set<std::string>{"ConfigCache.json", "ConfigCache.json.tmp-abc123"}));
}

TEST_F(CacheManagerTest, AFileTooLargeToBeOursIsNotRead) {
    ASSERT_TRUE(cache_.write("x"));
    spit(file_, std::string(cachefile::kHeaderSize + limits::kMaxConfigCacheBytes + cachefile::kChecksumSize + 1, 'Q'));
    CacheReadFailure failure{};
    EXPECT_EQ(cache_.read(failure), std::nullopt);
    EXPECT_EQ(failure, CacheReadFailure::unreadable);
}

TEST_F(CacheManagerTest, TwoManagersOnOneDirectoryShareTheFile) {
    ASSERT_TRUE(cache_.write("shared bytes"));
    CacheManager other(dir_.path() / "app");
    EXPECT_EQ(other.read(), "shared bytes");
    EXPECT_EQ(slurp(file_).substr(0, cachefile::kMagic.size()), cachefile::kMagic);
}

}  // namespace
}  // namespace quarra
