// What every SecureItemStore must do, run against each implementation.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include <quarra/testing/MemorySecureItemStore.hpp>
#include "credentials/SqliteSecureItemStore.hpp"
#include <quarra/testing/FakeClock.hpp>
#include "support/CapturingConsole.hpp"
#include "support/TempDir.hpp"

namespace quarra {
namespace {

using Bytes = SecureBytes;

struct StoreFactory {
    const char* name;
    std::function<std::shared_ptr<SecureItemStore>(const std::filesystem::path&, const Console&)> make;
};

void PrintTo(const StoreFactory& factory, std::ostream* out) { *out << factory.name; }

class SecureItemStoreContractTest : public ::testing::TestWithParam<StoreFactory> {
protected:
    void SetUp() override { store = GetParam().make(directory.path() / "data", console); }

    // Nothing a conforming store does here is worth a console line.
    void TearDown() override { EXPECT_TRUE(sink->lines().empty()); }

    static SecureItemIdentity id(const std::string& account, bool synchronizable = false,
                                 std::optional<std::string> group = std::nullopt, std::string service = "svc") {
        return {std::move(service), std::move(group), Bytes(account.begin(), account.end()), synchronizable};
    }
    static SecureItemQuery query(SecureItemIdentity identity, std::optional<std::string> accessibility = {}) {
        return {std::move(identity), std::move(accessibility)};
    }
    static std::vector<Bytes> accounts(std::initializer_list<std::string> names) {
        std::vector<Bytes> result;
        for (const auto& n : names) result.emplace_back(n.begin(), n.end());
        return result;
    }

    testing::TempDir directory;
    std::shared_ptr<testing::CapturingConsole> sink = std::make_shared<testing::CapturingConsole>();
    Console console{sink, std::make_shared<FakeClock>()};
    std::shared_ptr<SecureItemStore> store;
};

TEST_P(SecureItemStoreContractTest, StatusesOfAddCopyUpdateDelete) {
    EXPECT_EQ(store->copyMatching(query(id("a"))).status, errSecItemNotFound);
    EXPECT_EQ(store->update(query(id("a")), Bytes{1}), errSecItemNotFound);
    EXPECT_EQ(store->deleteItem(query(id("a"))), errSecItemNotFound);

    EXPECT_EQ(store->add(id("a"), "always", Bytes{1, 2}), errSecSuccess);
    EXPECT_EQ(store->add(id("a"), "whenUnlocked", Bytes{3}), errSecDuplicateItem)
        << "accessibility is no part of identity";

    auto match = store->copyMatching(query(id("a")));
    ASSERT_EQ(match.status, errSecSuccess);
    ASSERT_TRUE(match.item);
    EXPECT_EQ(match.item->data, (Bytes{1, 2}));
    EXPECT_EQ(match.item->accessibility, "always");

    EXPECT_EQ(store->update(query(id("a")), Bytes{}), errSecSuccess);
    EXPECT_EQ(store->copyMatching(query(id("a"))).item->data, Bytes{});
    EXPECT_EQ(store->copyMatching(query(id("a"))).item->accessibility, "always");

    EXPECT_EQ(store->deleteItem(query(id("a"))), errSecSuccess);
    EXPECT_EQ(store->copyMatching(query(id("a"))).status, errSecItemNotFound);
}

TEST_P(SecureItemStoreContractTest, EveryIdentityPartSeparatesItems) {
    const SecureItemIdentity identities[] = {
        id("a"), id("a", true), id("a", false, "group"), id("a", false, "other"), id("a", false, std::nullopt, "svc2"),
        id("b"), id(""),
    };
    uint8_t value = 0;
    for (const auto& identity : identities) EXPECT_EQ(store->add(identity, "always", Bytes{value++}), errSecSuccess);
    value = 0;
    for (const auto& identity : identities) {
        auto match = store->copyMatching(query(identity));
        ASSERT_EQ(match.status, errSecSuccess);
        EXPECT_EQ(match.item->data, Bytes{value++});
    }
}

TEST_P(SecureItemStoreContractTest, AccessibilityInAQueryFilters) {
    store->add(id("a"), "always", Bytes{1});
    EXPECT_EQ(store->copyMatching(query(id("a"), "always")).status, errSecSuccess);
    EXPECT_EQ(store->copyMatching(query(id("a"), "whenUnlocked")).status, errSecItemNotFound);
    EXPECT_EQ(store->update(query(id("a"), "whenUnlocked"), Bytes{2}), errSecItemNotFound);
    EXPECT_EQ(store->deleteItem(query(id("a"), "whenUnlocked")), errSecItemNotFound);
    EXPECT_EQ(store->copyMatching(query(id("a"))).item->data, Bytes{1});
}

TEST_P(SecureItemStoreContractTest, ServiceWideCallsFilterByGroupOnlyWhenGiven) {
    store->add(id("plain"), "always", Bytes{1});
    store->add(id("grouped", false, "g"), "always", Bytes{2});
    store->add(id("synced", true), "always", Bytes{3});
    store->add(id("foreign", false, std::nullopt, "svc2"), "always", Bytes{4});

    EXPECT_EQ(store->copyAccounts("svc", std::nullopt).accounts, accounts({"plain", "grouped", "synced"}));
    EXPECT_EQ(store->copyAccounts("svc", "g").accounts, accounts({"grouped"}));
    EXPECT_EQ(store->copyAccounts("none", std::nullopt).status, errSecItemNotFound);

    EXPECT_EQ(store->deleteService("svc", "g"), errSecSuccess);
    EXPECT_EQ(store->copyAccounts("svc", std::nullopt).accounts, accounts({"plain", "synced"}));
    EXPECT_EQ(store->deleteService("svc", std::nullopt), errSecSuccess);
    EXPECT_EQ(store->deleteService("svc", std::nullopt), errSecItemNotFound);
    EXPECT_EQ(store->copyAccounts("svc2", std::nullopt).accounts, accounts({"foreign"}));

    EXPECT_EQ(store->deleteAll(), errSecSuccess);
    EXPECT_EQ(store->copyAccounts("svc2", std::nullopt).status, errSecItemNotFound);
}

TEST_P(SecureItemStoreContractTest, PersistentRefsAreNotReusedAfterDelete) {
    store->add(id("a"), "always", Bytes{1});
    auto first = store->copyMatching(query(id("a"))).item->persistentRef;
    store->deleteItem(query(id("a")));
    store->add(id("a"), "always", Bytes{1});
    EXPECT_NE(store->copyMatching(query(id("a"))).item->persistentRef, first);
}

const StoreFactory kFactories[] = {
    {"memory", [](const std::filesystem::path&, const Console&) { return std::make_shared<MemorySecureItemStore>(); }},
    {"sqlite",
     [](const std::filesystem::path& dir, const Console& console) {
         return std::make_shared<SqliteSecureItemStore>(dir, std::vector<unsigned char>{}, console);
     }},
};

INSTANTIATE_TEST_SUITE_P(Stores, SecureItemStoreContractTest, ::testing::ValuesIn(kFactories),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quarra
