// The typed key-value store over the in-memory item store.
#include <quarra/KeychainWrapper.hpp>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <memory>

#include "credentials/AccessibilityText.hpp"
#include <quarra/testing/MemorySecureItemStore.hpp>

namespace quarra {
namespace {

using Bytes = KeychainWrapper::Bytes;
using A = KeychainItemAccessibility;

constexpr const char* kService = "net.quarra.tests";

class KeychainWrapperTest : public ::testing::Test {
protected:
    std::shared_ptr<MemorySecureItemStore> store = std::make_shared<MemorySecureItemStore>();
    KeychainWrapper keychain{kService, std::nullopt, store};
};

// One kind of value: how to store a first and a second value, and whether the
// getter of that kind reads each back exactly.
struct TypedCase {
    const char* name;
    std::function<bool(KeychainWrapper&, const std::string&)> setFirst;
    std::function<bool(KeychainWrapper&, const std::string&)> setSecond;
    std::function<bool(const KeychainWrapper&, const std::string&)> readsFirst;
    std::function<bool(const KeychainWrapper&, const std::string&)> readsSecond;
};

std::vector<TypedCase> typedCases() {
    return {
        {"integer", [](auto& k, auto& key) { return k.set(int64_t{-7}, key); },
         [](auto& k, auto& key) { return k.set(std::numeric_limits<int64_t>::max(), key); },
         [](auto& k, auto& key) { return k.integer(key) == int64_t{-7}; },
         [](auto& k, auto& key) { return k.integer(key) == std::numeric_limits<int64_t>::max(); }},
        {"integer extremes", [](auto& k, auto& key) { return k.set(std::numeric_limits<int64_t>::min(), key); },
         [](auto& k, auto& key) { return k.set(int64_t{0}, key); },
         [](auto& k, auto& key) { return k.integer(key) == std::numeric_limits<int64_t>::min(); },
         [](auto& k, auto& key) { return k.integer(key) == int64_t{0}; }},
        {"float", [](auto& k, auto& key) { return k.set(3.25f, key); },
         [](auto& k, auto& key) { return k.set(-1.0e-30f, key); },
         [](auto& k, auto& key) { return k.floatValue(key) == 3.25f; },
         [](auto& k, auto& key) { return k.floatValue(key) == -1.0e-30f; }},
        {"double", [](auto& k, auto& key) { return k.set(0.1, key); },
         [](auto& k, auto& key) { return k.set(1.7976931348623157e308, key); },
         [](auto& k, auto& key) { return k.doubleValue(key) == 0.1; },
         [](auto& k, auto& key) { return k.doubleValue(key) == 1.7976931348623157e308; }},
        {"double infinity", [](auto& k, auto& key) { return k.set(-std::numeric_limits<double>::infinity(), key); },
         [](auto& k, auto& key) { return k.set(5e-324, key); },
         [](auto& k, auto& key) { return k.doubleValue(key) == -std::numeric_limits<double>::infinity(); },
         [](auto& k, auto& key) { return k.doubleValue(key) == 5e-324; }},
        {"bool", [](auto& k, auto& key) { return k.set(true, key); },
         [](auto& k, auto& key) { return k.set(false, key); },
         [](auto& k, auto& key) { return k.boolValue(key) == true; },
         [](auto& k, auto& key) { return k.boolValue(key) == false; }},
        {"string", [](auto& k, auto& key) { return k.set("eyJhbGciOi.token", key); },
         [](auto& k, auto& key) { return k.set(std::string("\xc3\xa9t\xc3\xa9 \xe2\x9c\x93"), key); },
         [](auto& k, auto& key) { return k.string(key) == "eyJhbGciOi.token"; },
         [](auto& k, auto& key) { return k.string(key) == "\xc3\xa9t\xc3\xa9 \xe2\x9c\x93"; }},
        {"empty string", [](auto& k, auto& key) { return k.set("", key); },
         [](auto& k, auto& key) { return k.set(std::string("a\0b", 3), key); },
         [](auto& k, auto& key) { return k.string(key) == ""; },
         [](auto& k, auto& key) { return k.string(key) == std::string("a\0b", 3); }},
        {"bytes",
         [](auto& k, auto& key) {
             return k.set(Bytes{0x00, 0xff, 0x10}, key);
         },
         [](auto& k, auto& key) { return k.set(Bytes{}, key); },
         [](auto& k, auto& key) {
             return k.data(key) == Bytes{0x00, 0xff, 0x10};
         },
         [](auto& k, auto& key) { return k.data(key) == Bytes{}; }},
    };
}

TEST_F(KeychainWrapperTest, EveryKindRoundTripsAndASecondSetReplacesTheValue) {
    for (const auto& c : typedCases()) {
        SCOPED_TRACE(c.name);
        const std::string key = std::string("key.") + c.name;
        EXPECT_FALSE(keychain.hasValue(key));
        ASSERT_TRUE(c.setFirst(keychain, key));
        EXPECT_TRUE(c.readsFirst(keychain, key));
        EXPECT_TRUE(keychain.hasValue(key));

        // The second set meets a duplicate, updates it and still reports success.
        ASSERT_TRUE(c.setSecond(keychain, key));
        EXPECT_TRUE(c.readsSecond(keychain, key));
        EXPECT_FALSE(c.readsFirst(keychain, key));
        EXPECT_TRUE(keychain.allKeys().contains(key));
    }
    EXPECT_EQ(store->size(), typedCases().size());
}

TEST_F(KeychainWrapperTest, GettersOfAnotherKindGiveNone) {
    keychain.set("12345678", "string");
    keychain.set(int64_t{1}, "integer");
    keychain.set(2.5f, "float");
    keychain.set(2.5, "double");
    keychain.set(true, "bool");
    keychain.set(Bytes{0xff, 0xfe, 0x01}, "bytes");

    struct Mismatch {
        const char* key;
        const char* getter;
        std::function<bool(const std::string&)> givesNone;
    };
    auto integer = [&](const std::string& k) { return !keychain.integer(k); };
    auto single = [&](const std::string& k) { return !keychain.floatValue(k); };
    auto dbl = [&](const std::string& k) { return !keychain.doubleValue(k); };
    auto boolean = [&](const std::string& k) { return !keychain.boolValue(k); };
    auto text = [&](const std::string& k) { return !keychain.string(k); };
    const Mismatch cases[] = {
        {"string", "integer", integer}, {"string", "float", single},     {"string", "double", dbl},
        {"string", "bool", boolean},    {"integer", "float", single},    {"integer", "bool", boolean},
        {"integer", "string", text},    {"float", "integer", integer},   {"float", "bool", boolean},
        {"float", "string", text},      {"double", "integer", integer},  {"double", "float", single},
        {"double", "bool", boolean},    {"double", "string", text},      {"bool", "integer", integer},
        {"bool", "float", single},      {"bool", "double", dbl},         {"bool", "string", text},
        {"bytes", "integer", integer},  {"bytes", "double", dbl},        {"bytes", "bool", boolean},
        {"bytes", "string", text},  // not UTF-8
        {"missing", "string", text},    {"missing", "integer", integer},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(c.givesNone(c.key)) << c.getter << " getter on the " << c.key << " item";
    }
}

TEST_F(KeychainWrapperTest, DoubleGetterWidensIntegerAndFloatItems) {
    keychain.set(int64_t{42}, "integer");
    keychain.set(1.5f, "float");
    EXPECT_EQ(keychain.doubleValue("integer"), 42.0);
    EXPECT_EQ(keychain.doubleValue("float"), 1.5);
}

TEST_F(KeychainWrapperTest, NumberGettersRejectBytesThatOnlyLookLikeANumber) {
    // The right marker and tag but the wrong length, and a boolean that is neither 0 nor 1.
    keychain.set(Bytes{0x00, 'Q', 'N', 'i', 1, 2, 3}, "short");
    keychain.set(Bytes{0x00, 'Q', 'N', 'b', 2}, "badBool");
    EXPECT_FALSE(keychain.integer("short"));
    EXPECT_FALSE(keychain.doubleValue("short"));
    EXPECT_FALSE(keychain.boolValue("badBool"));
}

TEST_F(KeychainWrapperTest, SynchronizableFlagSeparatesItems) {
    ASSERT_TRUE(keychain.set("synced", "token", std::nullopt, true));
    EXPECT_FALSE(keychain.string("token"));
    EXPECT_FALSE(keychain.hasValue("token"));

    ASSERT_TRUE(keychain.set("local", "token"));
    EXPECT_EQ(keychain.string("token", std::nullopt, true), "synced");
    EXPECT_EQ(keychain.string("token"), "local");

    EXPECT_TRUE(keychain.removeObject("token", std::nullopt, true));
    EXPECT_EQ(keychain.string("token"), "local");
    EXPECT_FALSE(keychain.hasValue("token", std::nullopt, true));
}

TEST_F(KeychainWrapperTest, RemoveAndRemoveObjectBehaveAlike) {
    using Remover = bool (KeychainWrapper::*)(const std::string&, KeychainWrapper::Accessibility, bool);
    const std::pair<const char*, Remover> removers[] = {{"remove", &KeychainWrapper::remove},
                                                        {"removeObject", &KeychainWrapper::removeObject}};
    for (const auto& [name, removeFn] : removers) {
        SCOPED_TRACE(name);
        keychain.set("v", "present", A::always);

        EXPECT_FALSE((keychain.*removeFn)("absent", std::nullopt, false));
        EXPECT_FALSE((keychain.*removeFn)("present", A::whenUnlocked, false)) << "accessibility must match";
        EXPECT_FALSE((keychain.*removeFn)("present", std::nullopt, true)) << "synchronizable must match";
        EXPECT_TRUE(keychain.hasValue("present"));

        EXPECT_TRUE((keychain.*removeFn)("present", std::nullopt, false));
        EXPECT_FALSE(keychain.hasValue("present"));
        EXPECT_FALSE((keychain.*removeFn)("present", std::nullopt, false));
    }
}

TEST_F(KeychainWrapperTest, AllKeysListsThisServiceOnly) {
    KeychainWrapper other("net.quarra.other", std::nullopt, store);
    keychain.set("a", "accessToken");
    keychain.set("b", "refreshToken", std::nullopt, true);
    keychain.set(int64_t{3}, "transactionId", A::always);
    other.set("x", "DataCollectorVisitorId");

    EXPECT_EQ(keychain.allKeys(), (std::set<std::string>{"accessToken", "refreshToken", "transactionId"}));
    EXPECT_EQ(other.allKeys(), (std::set<std::string>{"DataCollectorVisitorId"}));
    EXPECT_TRUE(KeychainWrapper("net.quarra.empty", std::nullopt, store).allKeys().empty());
}

TEST_F(KeychainWrapperTest, AllKeysSkipsAccountsThatAreNotText) {
    keychain.set("a", "readable");
    store->add({kService, std::nullopt, Bytes{0xc3, 0x28}, false}, "whenUnlocked", Bytes{1});
    EXPECT_EQ(keychain.allKeys(), std::set<std::string>{"readable"});
}

TEST_F(KeychainWrapperTest, RemoveAllKeysRemovesOnlyThisService) {
    KeychainWrapper other("net.quarra.other", std::nullopt, store);
    keychain.set("a", "accessToken");
    keychain.set("b", "refreshToken", std::nullopt, true);
    other.set("x", "accessToken");

    EXPECT_TRUE(keychain.removeAllKeys());
    EXPECT_TRUE(keychain.allKeys().empty());
    EXPECT_EQ(other.string("accessToken"), "x");
    EXPECT_FALSE(keychain.removeAllKeys()) << "nothing left to delete";
}

TEST_F(KeychainWrapperTest, AccessGroupKeepsItemsApart) {
    KeychainWrapper grouped(kService, "group.shared", store);
    keychain.set("ungrouped", "token");
    grouped.set("grouped", "token");

    EXPECT_EQ(keychain.string("token"), "ungrouped");
    EXPECT_EQ(grouped.string("token"), "grouped");
    EXPECT_EQ(grouped.allKeys(), std::set<std::string>{"token"});

    EXPECT_TRUE(grouped.removeAllKeys());
    EXPECT_EQ(keychain.string("token"), "ungrouped");
}

TEST_F(KeychainWrapperTest, AccessibilityIsStoredAndReadBackForEveryCase) {
    const A all[] = {A::afterFirstUnlock,
                     A::afterFirstUnlockThisDeviceOnly,
                     A::always,
                     A::whenPasscodeSetThisDeviceOnly,
                     A::alwaysThisDeviceOnly,
                     A::whenUnlocked,
                     A::whenUnlockedThisDeviceOnly};
    for (A accessibility : all) {
        const std::string key = "key." + accessibilityText(accessibility);
        ASSERT_TRUE(keychain.set("v", key, accessibility));
        EXPECT_EQ(keychain.accessibilityOfKey(key), accessibility) << key;
        EXPECT_EQ(keychain.string(key, accessibility), "v") << key;
    }
}

TEST_F(KeychainWrapperTest, SetWithoutAccessibilityStoresWhenUnlocked) {
    keychain.set("v", "token");
    EXPECT_EQ(keychain.accessibilityOfKey("token"), A::whenUnlocked);
    EXPECT_EQ(keychain.string("token", A::whenUnlocked), "v");
    EXPECT_FALSE(keychain.string("token", A::always)) << "a query's accessibility must match the item's";
    EXPECT_FALSE(keychain.accessibilityOfKey("missing"));
}

TEST_F(KeychainWrapperTest, UpdateKeepsTheItemsAccessibility) {
    keychain.set("first", "token", A::always);
    EXPECT_TRUE(keychain.set("second", "token"));
    EXPECT_EQ(keychain.string("token"), "second");
    EXPECT_EQ(keychain.accessibilityOfKey("token"), A::always);

    // Asking for another accessibility finds no item to update: not stored.
    EXPECT_FALSE(keychain.set("third", "token", A::afterFirstUnlock));
    EXPECT_EQ(keychain.string("token"), "second");
}

TEST_F(KeychainWrapperTest, AccessibilityTextNoCaseKnowsGivesNone) {
    store->add({kService, std::nullopt, Bytes{'k'}, false}, "someday", Bytes{1});
    EXPECT_TRUE(keychain.hasValue("k"));
    EXPECT_FALSE(keychain.accessibilityOfKey("k"));
}

TEST_F(KeychainWrapperTest, DataRefIsStableForAnItemAndDistinctBetweenItems) {
    keychain.set("a", "first");
    keychain.set("b", "second");
    auto first = keychain.dataRef("first");
    auto second = keychain.dataRef("second");
    ASSERT_TRUE(first && second);
    EXPECT_FALSE(first->empty());
    EXPECT_NE(*first, *second);

    keychain.set("a2", "first");
    EXPECT_EQ(keychain.dataRef("first"), first);
    EXPECT_FALSE(keychain.dataRef("missing"));
    EXPECT_FALSE(keychain.dataRef("first", std::nullopt, true));
}

TEST_F(KeychainWrapperTest, KeysAndStringsThatAreNotUtf8AreRefused) {
    const std::string badKey = "tok\xff";
    keychain.set("keep", "other");
    EXPECT_FALSE(keychain.set("v", badKey));
    EXPECT_FALSE(keychain.set(std::string("\xc0\xaf"), "overlong"));
    EXPECT_FALSE(keychain.string(badKey));
    EXPECT_FALSE(keychain.hasValue(badKey));
    EXPECT_FALSE(keychain.dataRef(badKey));
    EXPECT_FALSE(keychain.accessibilityOfKey(badKey));
    // Deleting with a key that names no item must not touch any other item.
    EXPECT_FALSE(keychain.removeObject(badKey));
    EXPECT_EQ(keychain.string("other"), "keep");
    EXPECT_EQ(store->size(), 1u);
}

}  // namespace
}  // namespace quarra
