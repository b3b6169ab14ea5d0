#include <quarra/KeychainWrapper.hpp>

#include "credentials/AccessibilityText.hpp"
#include "credentials/KeychainValueCoding.hpp"
#include "credentials/SecureItemStore.hpp"
#include "base/Utf8Text.hpp"

namespace quarra {
namespace {

// A key that is not valid UTF-8 names no item: a query without an account
// would match (and delete) every item of the service.
std::optional<SecureItemQuery> makeQuery(const std::string& service, const std::optional<std::string>& accessGroup,
                                         const std::string& key, KeychainWrapper::Accessibility accessibility,
                                         bool isSynchronizable) {
    if (!isValidUtf8(key)) return std::nullopt;
    SecureItemQuery query;
    query.identity = SecureItemIdentity{service, accessGroup, SecureBytes(key.begin(), key.end()), isSynchronizable};
    if (accessibility) query.accessibility = accessibilityText(*accessibility);
    return query;
}

}  // namespace

KeychainWrapper::KeychainWrapper(std::string serviceName, std::optional<std::string> accessGroup,
                                 std::shared_ptr<SecureItemStore> store)
    : serviceName_(std::move(serviceName)), accessGroup_(std::move(accessGroup)), store_(std::move(store)) {}

bool KeychainWrapper::hasValue(const std::string& key, Accessibility accessibility, bool isSynchronizable) const {
    return data(key, accessibility, isSynchronizable).has_value();
}

std::optional<KeychainItemAccessibility> KeychainWrapper::accessibilityOfKey(const std::string& key) const {
    auto query = makeQuery(serviceName_, accessGroup_, key, std::nullopt, false);
    if (!query) return std::nullopt;
    auto match = store_->copyMatching(*query);
    if (match.status != errSecSuccess || !match.item) return std::nullopt;
    return accessibilityFromText(match.item->accessibility);
}

std::set<std::string> KeychainWrapper::allKeys() const {
    std::set<std::string> keys;
    auto match = store_->copyAccounts(serviceName_, accessGroup_);
    if (match.status != errSecSuccess) return keys;
    for (const auto& account : match.accounts) {
        std::string key(account.begin(), account.end());
        if (isValidUtf8(key)) keys.insert(std::move(key));
    }
    return keys;
}

std::optional<int64_t> KeychainWrapper::integer(const std::string& key, Accessibility accessibility,
                                                bool isSynchronizable) const {
    auto bytes = data(key, accessibility, isSynchronizable);
    return bytes ? decodeStoredInteger(*bytes) : std::nullopt;
}

std::optional<float> KeychainWrapper::floatValue(const std::string& key, Accessibility accessibility,
                                                 bool isSynchronizable) const {
    auto bytes = data(key, accessibility, isSynchronizable);
    return bytes ? decodeStoredFloat(*bytes) : std::nullopt;
}

std::optional<double> KeychainWrapper::doubleValue(const std::string& key, Accessibility accessibility,
                                                   bool isSynchronizable) const {
    auto bytes = data(key, accessibility, isSynchronizable);
    return bytes ? decodeStoredDouble(*bytes) : std::nullopt;
}

std::optional<bool> KeychainWrapper::boolValue(const std::string& key, Accessibility accessibility,
                                               bool isSynchronizable) const {
    auto bytes = data(key, accessibility, isSynchronizable);
    return bytes ? decodeStoredBool(*bytes) : std::nullopt;
}

std::optional<std::string> KeychainWrapper::string(const std::string& key, Accessibility accessibility,
                                                   bool isSynchronizable) const {
    auto bytes = data(key, accessibility, isSynchronizable);
    // A number or boolean item is not a string, even when its bytes happen to be UTF-8.
    if (!bytes || isStoredScalar(*bytes)) return std::nullopt;
    std::string text(bytes->begin(), bytes->end());
    if (!isValidUtf8(text)) return std::nullopt;
    return text;
}

std::optional<KeychainWrapper::Bytes> KeychainWrapper::data(const std::string& key, Accessibility accessibility,
                                                            bool isSynchronizable) const {
    auto query = makeQuery(serviceName_, accessGroup_, key, accessibility, isSynchronizable);
    if (!query) return std::nullopt;
    auto match = store_->copyMatching(*query);
    if (match.status != errSecSuccess || !match.item) return std::nullopt;
    return std::move(match.item->data);
}

std::optional<KeychainWrapper::Bytes> KeychainWrapper::dataRef(const std::string& key, Accessibility accessibility,
                                                               bool isSynchronizable) const {
    auto query = makeQuery(serviceName_, accessGroup_, key, accessibility, isSynchronizable);
    if (!query) return std::nullopt;
    auto match = store_->copyMatching(*query);
    if (match.status != errSecSuccess || !match.item) return std::nullopt;
    return std::move(match.item->persistentRef);
}

bool KeychainWrapper::set(int64_t value, const std::string& key, Accessibility accessibility, bool isSynchronizable) {
    return set(encodeStoredNumber(value), key, accessibility, isSynchronizable);
}

bool KeychainWrapper::set(float value, const std::string& key, Accessibility accessibility, bool isSynchronizable) {
    return set(encodeStoredNumber(value), key, accessibility, isSynchronizable);
}

bool KeychainWrapper::set(double value, const std::string& key, Accessibility accessibility, bool isSynchronizable) {
    return set(encodeStoredNumber(value), key, accessibility, isSynchronizable);
}

bool KeychainWrapper::set(bool value, const std::string& key, Accessibility accessibility, bool isSynchronizable) {
    return set(encodeStoredBool(value), key, accessibility, isSynchronizable);
}

bool KeychainWrapper::set(const std::string& value, const std::string& key, Accessibility accessibility,
                          bool isSynchronizable) {
    if (!isValidUtf8(value)) return false;
    return set(Bytes(value.begin(), value.end()), key, accessibility, isSynchronizable);
}

bool KeychainWrapper::set(const Bytes& value, const std::string& key, Accessibility accessibility,
                          bool isSynchronizable) {
    auto query = makeQuery(serviceName_, accessGroup_, key, accessibility, isSynchronizable);
    if (!query) return false;
    auto stored = accessibilityText(accessibility.value_or(KeychainItemAccessibility::whenUnlocked));
    switch (store_->add(query->identity, stored, value)) {
        case errSecSuccess:
            return true;
        case errSecDuplicateItem:
            return updateValue(value, key, accessibility, isSynchronizable);
        default:
            return false;
    }
}

bool KeychainWrapper::remove(const std::string& key, Accessibility accessibility, bool isSynchronizable) {
    return removeObject(key, accessibility, isSynchronizable);
}

bool KeychainWrapper::removeObject(const std::string& key, Accessibility accessibility, bool isSynchronizable) {
    auto query = makeQuery(serviceName_, accessGroup_, key, accessibility, isSynchronizable);
    return query && store_->deleteItem(*query) == errSecSuccess;
}

bool KeychainWrapper::removeAllKeys() { return store_->deleteService(serviceName_, accessGroup_) == errSecSuccess; }

bool KeychainWrapper::updateValue(const Bytes& value, const std::string& key, Accessibility accessibility,
                                  bool isSynchronizable) {
    auto query = makeQuery(serviceName_, accessGroup_, key, accessibility, isSynchronizable);
    return query && store_->update(*query, value) == errSecSuccess;
}

}  // namespace quarra

namespace quarra {

void KeychainWrapper::wipeKeychain() { standard().store_->deleteAll(); }

}  // namespace quarra
