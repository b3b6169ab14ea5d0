#include <gtest/gtest.h>

#include <quarra/testing/MemorySecureItemStore.hpp>
#include "fingerprint/VisitorIdStorage.hpp"

namespace quarra {
namespace {

TEST(VisitorIdStorage, KeepsBothIdentifiersUnderTheirSecureStoreKeys) {
    KeychainWrapper keychain("net.quarra.test", std::nullopt, std::make_shared<MemorySecureItemStore>());
    VisitorIdStorage storage(keychain);
    EXPECT_FALSE(storage.visitorId());
    EXPECT_FALSE(storage.requestId());

    storage.saveVisitorId("Visitor1");
    storage.saveRequestId("1700000000000.abcDEF");
    EXPECT_EQ(storage.visitorId(), "Visitor1");
    EXPECT_EQ(storage.requestId(), "1700000000000.abcDEF");
    EXPECT_EQ(keychain.string("DataCollectorVisitorId"), "Visitor1");
    EXPECT_EQ(keychain.string("DataCollectorRequestId"), "1700000000000.abcDEF");

    storage.saveVisitorId("Visitor2");  // replaced, not added
    EXPECT_EQ(storage.visitorId(), "Visitor2");
    EXPECT_EQ(keychain.allKeys(), (std::set<std::string>{"DataCollectorRequestId", "DataCollectorVisitorId"}));
}

TEST(VisitorIdStorage, ReadsWhatAnEarlierInstanceStored) {
    auto store = std::make_shared<MemorySecureItemStore>();
    KeychainWrapper first("net.quarra.test", std::nullopt, store);
    VisitorIdStorage(first).saveVisitorId("Kept");
    KeychainWrapper second("net.quarra.test", std::nullopt, store);
    EXPECT_EQ(VisitorIdStorage(second).visitorId(), "Kept");
}

}  // namespace
}  // namespace quarra
