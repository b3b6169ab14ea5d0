// The process-wide instance, built from the host's options.
#include <quarra/KeychainWrapper.hpp>
#include <quarra/Options.hpp>

#include <gtest/gtest.h>

#include <memory>

#include "credentials/SqliteSecureItemStore.hpp"
#include <quarra/testing/FakeClock.hpp>
#include <quarra/testing/ManualExecutor.hpp>
#include <quarra/testing/SimulatedHttpClient.hpp>
#include "support/CapturingConsole.hpp"
#include "support/TempDir.hpp"

namespace quarra {
namespace {

constexpr const char* kBundleIdentifier = "net.quarra.keychain-tests";

// Configures the process-wide environment once for this test program, with a
// temporary data directory and no real network or threads.
class StandardEnvironment final : public ::testing::Environment {
public:
    static std::filesystem::path dataDirectory() { return directory_->path() / "data"; }

    void SetUp() override {
        directory_ = std::make_unique<testing::TempDir>();
        auto clock = std::make_shared<FakeClock>();
        auto executor = std::make_shared<ManualExecutor>(clock);
        Options options;
        options.bundleIdentifier = kBundleIdentifier;
        options.dataDirectory = dataDirectory();
        options.mainExecutor = executor;
        options.httpClient = std::make_shared<SimulatedHttpClient>(executor);
        options.clock = clock;
        options.console = std::make_shared<testing::CapturingConsole>();
        ASSERT_TRUE(configure(std::move(options)));
    }
    void TearDown() override { directory_.reset(); }

private:
    static inline std::unique_ptr<testing::TempDir> directory_;
};

[[maybe_unused]] const auto* const kRegistered = ::testing::AddGlobalTestEnvironment(new StandardEnvironment);

TEST(KeychainStandardTest, UsesTheBundleIdentifierAndTheDataDirectory) {
    KeychainWrapper& standard = KeychainWrapper::standard();
    EXPECT_EQ(&standard, &KeychainWrapper::defaultKeychainWrapper());
    EXPECT_EQ(standard.serviceName(), kBundleIdentifier);
    EXPECT_FALSE(standard.accessGroup());

    ASSERT_TRUE(standard.set("token-value", "accessToken"));
    EXPECT_EQ(standard.string("accessToken"), "token-value");
    const auto dir = StandardEnvironment::dataDirectory();
    EXPECT_TRUE(std::filesystem::exists(dir / SqliteSecureItemStore::kDatabaseFileName));
    EXPECT_TRUE(std::filesystem::exists(dir / SqliteSecureItemStore::kKeyFileName));
}

TEST(KeychainStandardTest, WipeKeychainRemovesEveryServicesItems) {
    KeychainWrapper& standard = KeychainWrapper::standard();
    auto sameFile = std::make_shared<SqliteSecureItemStore>(
        StandardEnvironment::dataDirectory(), std::vector<unsigned char>{},
        Console(std::make_shared<testing::CapturingConsole>(), std::make_shared<FakeClock>()));
    KeychainWrapper other("net.quarra.another-service", std::nullopt, sameFile);
    ASSERT_TRUE(standard.set("a", "transactionId"));
    ASSERT_TRUE(other.set("b", "DataCollectorVisitorId"));

    KeychainWrapper::wipeKeychain();

    EXPECT_TRUE(standard.allKeys().empty());
    EXPECT_FALSE(other.hasValue("DataCollectorVisitorId"));
}

}  // namespace
}  // namespace quarra
