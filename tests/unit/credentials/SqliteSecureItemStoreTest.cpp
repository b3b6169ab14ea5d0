// The secure store on real files: persistence, sealing, permissions and
// what happens when the key or the file is wrong.
#include "credentials/SqliteSecureItemStore.hpp"

#include <quarra/KeychainWrapper.hpp>

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <thread>

#include <quarra/testing/FakeClock.hpp>
#include "support/CapturingConsole.hpp"
#include "support/TempDir.hpp"

namespace quarra {
namespace {

namespace fs = std::filesystem;
using Key = std::vector<unsigned char>;

constexpr const char* kService = "net.quarra.tests";
constexpr const char* kSecret = "s3cr3t-refresh-token-value";

class SqliteSecureItemStoreTest : public ::testing::Test {
protected:
    fs::path dataDir() const { return temp.path() / "app" / "data"; }
    fs::path databasePath() const { return dataDir() / SqliteSecureItemStore::kDatabaseFileName; }
    fs::path keyPath() const { return dataDir() / SqliteSecureItemStore::kKeyFileName; }

    std::shared_ptr<SqliteSecureItemStore> open(const Key& hostKey = {}) {
        return std::make_shared<SqliteSecureItemStore>(dataDir(), hostKey, console);
    }
    KeychainWrapper wrapper(std::shared_ptr<SqliteSecureItemStore> store) {
        return KeychainWrapper(kService, std::nullopt, std::move(store));
    }
    std::vector<std::string> lines() const { return sink->messages(); }

    static std::string readAll(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    static void writeAll(const fs::path& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    }
    static unsigned permissions(const fs::path& path) {
        struct stat status {};
        EXPECT_EQ(::stat(path.c_str(), &status), 0) << path;
        return status.st_mode & 0777;
    }
    // Runs SQL on the database file behind the store's back.
    void tamper(const char* sql) {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(databasePath().c_str(), &db), SQLITE_OK);
        EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
        sqlite3_close(db);
    }

    testing::ScopedLogs logs{true};
    testing::TempDir temp;
    std::shared_ptr<testing::CapturingConsole> sink = std::make_shared<testing::CapturingConsole>();
    Console console{sink, std::make_shared<FakeClock>()};
};

TEST_F(SqliteSecureItemStoreTest, ValuesSurviveClosingAndReopening) {
    std::optional<KeychainWrapper::Bytes> ref;
    {
        auto keychain = wrapper(open());
        ASSERT_TRUE(keychain.set(kSecret, "refreshToken"));
        ASSERT_TRUE(keychain.set(int64_t{-42}, "count", KeychainItemAccessibility::always));
        ASSERT_TRUE(keychain.set(true, "flag", std::nullopt, true));
        ref = keychain.dataRef("refreshToken");
    }
    auto keychain = wrapper(open());
    EXPECT_EQ(keychain.string("refreshToken"), kSecret);
    EXPECT_EQ(keychain.integer("count"), -42);
    EXPECT_EQ(keychain.accessibilityOfKey("count"), KeychainItemAccessibility::always);
    EXPECT_EQ(keychain.boolValue("flag", std::nullopt, true), true);
    EXPECT_EQ(keychain.dataRef("refreshToken"), ref);
    EXPECT_EQ(keychain.allKeys(), (std::set<std::string>{"refreshToken", "count", "flag"}));
    EXPECT_TRUE(lines().empty());
}

TEST_F(SqliteSecureItemStoreTest, NoFileInTheDirectoryHoldsAStoredValueInPlainText) {
    {
        auto keychain = wrapper(open());
        ASSERT_TRUE(keychain.set(kSecret, "refreshToken"));
        ASSERT_TRUE(keychain.set("first-version-of-the-secret", "accessToken"));
        ASSERT_TRUE(keychain.set("second-version-of-the-secret", "accessToken"));
    }
    for (const auto& entry : fs::directory_iterator(dataDir())) {
        std::string raw = readAll(entry.path());
        EXPECT_EQ(raw.find(kSecret), std::string::npos) << entry.path();
        EXPECT_EQ(raw.find("version-of-the-secret"), std::string::npos) << entry.path();
    }
    // The key names stay searchable; only values are sealed.
    EXPECT_NE(readAll(databasePath()).find("refreshToken"), std::string::npos);
}

TEST_F(SqliteSecureItemStoreTest, FilesAndDirectoryAreForThisUserOnly) {
    auto store = open();
    ASSERT_TRUE(store->isAvailable());
    EXPECT_EQ(permissions(dataDir()), 0700u);
    EXPECT_EQ(permissions(dataDir().parent_path()), 0700u) << "missing parents are created private too";
    EXPECT_EQ(permissions(keyPath()), 0600u);
    EXPECT_EQ(fs::file_size(keyPath()), 32u);
    EXPECT_EQ(permissions(databasePath()), 0600u);
    ASSERT_TRUE(wrapper(store).set(kSecret, "refreshToken"));
    // The database's companion files (its write-ahead log) are private too,
    // and no temporary key file is left behind.
    for (const auto& entry : fs::directory_iterator(dataDir())) {
        EXPECT_EQ(permissions(entry.path()), 0600u) << entry.path();
        EXPECT_FALSE(entry.path().filename().string().starts_with("secure-store.key.")) << entry.path();
    }
}

TEST_F(SqliteSecureItemStoreTest, TheKeyFileIsReusedNotReplaced) {
    open();
    std::string firstKey = readAll(keyPath());
    auto keychain = wrapper(open());
    EXPECT_EQ(readAll(keyPath()), firstKey);
    EXPECT_TRUE(keychain.set("v", "k"));
}

TEST_F(SqliteSecureItemStoreTest, AHostKeyIsUsedAndNoKeyFileIsWritten) {
    const Key hostKey(32, 0x5a);
    ASSERT_TRUE(wrapper(open(hostKey)).set(kSecret, "refreshToken"));
    EXPECT_FALSE(fs::exists(keyPath()));
    EXPECT_EQ(wrapper(open(hostKey)).string("refreshToken"), kSecret);
    EXPECT_TRUE(lines().empty());
}

// Each case spoils the store in its own way; the store then reads nothing,
// writes nothing, says so once on the console and does not crash.
struct BrokenStoreCase {
    const char* name;
    std::function<void(const fs::path& keyFile, const fs::path& database)> spoil;
    Key openingKey;
    const char* reason;
};

TEST_F(SqliteSecureItemStoreTest, AStoreThatCannotBeOpenedFailsQuietlyWithOneLine) {
    const Key rightKey(32, 0x11);
    const Key wrongKey(32, 0x22);
    const BrokenStoreCase cases[] = {
        {"wrong host key", [](auto&, auto&) {}, wrongKey, "Secure store unavailable: the key does not open this store"},
        {"host key of the wrong length", [](auto&, auto&) {}, Key(16, 0x11),
         "Secure store unavailable: the host's key is not 32 bytes"},
        {"key file replaced by another key",
         [](auto& keyFile, auto&) { writeAll(keyFile, std::string(32, 'k')); },
         {},
         "Secure store unavailable: the key does not open this store"},
        {"key file of the wrong length",
         [](auto& keyFile, auto&) { writeAll(keyFile, "short"); },
         {},
         "Secure store unavailable: the key file does not hold a 32-byte key"},
        {"database overwritten with garbage",
         [](auto&, auto& database) { writeAll(database, std::string(4096, '\x7f')); }, rightKey,
         "Secure store unavailable: file is not a database"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(dataDir());
        // A healthy store first, sealed under the right key (the host's or the key file's).
        const Key& creatingKey = c.openingKey.empty() ? Key{} : rightKey;
        ASSERT_TRUE(wrapper(open(creatingKey)).set(kSecret, "refreshToken"));
        c.spoil(keyPath(), databasePath());
        sink->clear();

        auto store = open(c.openingKey);
        auto keychain = wrapper(store);
        EXPECT_FALSE(store->isAvailable());
        EXPECT_FALSE(keychain.string("refreshToken"));
        EXPECT_FALSE(keychain.hasValue("refreshToken"));
        EXPECT_FALSE(keychain.set("new", "refreshToken"));
        EXPECT_FALSE(keychain.set("new", "other"));
        EXPECT_FALSE(keychain.removeObject("refreshToken"));
        EXPECT_FALSE(keychain.removeAllKeys());
        EXPECT_TRUE(keychain.allKeys().empty());
        EXPECT_EQ(store->deleteAll(), errSecIO);
        EXPECT_EQ(lines(), std::vector<std::string>{c.reason});
    }
}

TEST_F(SqliteSecureItemStoreTest, AWrongKeyLeavesTheStoredItemsIntact) {
    const Key rightKey(32, 0x11);
    ASSERT_TRUE(wrapper(open(rightKey)).set(kSecret, "refreshToken"));
    wrapper(open(Key(32, 0x22))).set("overwrite attempt", "refreshToken");
    EXPECT_EQ(wrapper(open(rightKey)).string("refreshToken"), kSecret);
}

TEST_F(SqliteSecureItemStoreTest, ADamagedItemReadsAsNoneAndCanBeOverwritten) {
    auto keychain = wrapper(open());
    ASSERT_TRUE(keychain.set(kSecret, "refreshToken"));
    ASSERT_TRUE(keychain.set("fine", "accessToken"));
    tamper("UPDATE items SET sealed = zeroblob(40) WHERE account = CAST('refreshToken' AS BLOB)");

    EXPECT_FALSE(keychain.string("refreshToken"));
    EXPECT_FALSE(keychain.data("refreshToken"));
    EXPECT_EQ(keychain.string("accessToken"), "fine");
    EXPECT_EQ(lines(), std::vector<std::string>{
                           "Secure store item unreadable: its sealed data does not open with the store key"});

    EXPECT_TRUE(keychain.set("fresh", "refreshToken"));
    EXPECT_EQ(keychain.string("refreshToken"), "fresh");
}

TEST_F(SqliteSecureItemStoreTest, ADataDirectoryThatIsAFileMakesTheStoreUnavailable) {
    fs::create_directories(dataDir().parent_path());
    writeAll(dataDir(), "not a directory");
    auto store = open();
    EXPECT_FALSE(store->isAvailable());
    EXPECT_FALSE(wrapper(store).set("v", "k"));
    ASSERT_EQ(lines().size(), 1u);
    EXPECT_TRUE(lines()[0].starts_with("Secure store unavailable: "));
}

TEST_F(SqliteSecureItemStoreTest, TwoStoresOnOneFileSeeEachOthersWrites) {
    auto writer = wrapper(open());
    auto reader = wrapper(open());
    ASSERT_TRUE(writer.set("v1", "transactionId"));
    EXPECT_EQ(reader.string("transactionId"), "v1");
    ASSERT_TRUE(reader.set("v2", "transactionId"));
    EXPECT_EQ(writer.string("transactionId"), "v2");
}

TEST_F(SqliteSecureItemStoreTest, ConcurrentWritersAndReadersKeepEveryValue) {
    auto store = open();
    constexpr int kThreads = 4;
    constexpr int kKeysPerThread = 25;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([store, t] {
            KeychainWrapper keychain(kService, std::nullopt, store);
            for (int i = 0; i < kKeysPerThread; ++i) {
                std::string key = "k" + std::to_string(t) + "." + std::to_string(i);
                keychain.set(key + "-a", key);
                keychain.set(key + "-b", key);
                (void)keychain.allKeys();
            }
        });
    }
    for (auto& thread : threads) thread.join();

    auto keychain = wrapper(store);
    EXPECT_EQ(keychain.allKeys().size(), static_cast<size_t>(kThreads * kKeysPerThread));
    for (int t = 0; t < kThreads; ++t) {
        for (int i = 0; i < kKeysPerThread; ++i) {
            std::string key = "k" + std::to_string(t) + "." + std::to_string(i);
            EXPECT_EQ(keychain.string(key), key + "-b");
        }
    }
    EXPECT_TRUE(lines().empty());
}

}  // namespace
}  // namespace quarra
