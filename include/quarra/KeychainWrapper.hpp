#pragma once
// A small typed key-value store for secrets (tokens, identifiers), kept
// sealed on disk. Items are identified by (service, access group, key,
// synchronizable). No operation throws: reads give nullopt, writes false.
// Safe to call from any thread; calls may touch the disk.
//
// - A key (or a string value) that is not valid UTF-8 is refused.
// - set() stores with `whenUnlocked` when no accessibility is given; setting
//   an existing key replaces its value and keeps its accessibility.
// - A getter of another kind than the stored value gives nullopt, except that
//   doubleValue() also reads integer and float items.
#include <cstdint>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace quarra {

enum class KeychainItemAccessibility {
    afterFirstUnlock,
    afterFirstUnlockThisDeviceOnly,
    always,
    whenPasscodeSetThisDeviceOnly,
    alwaysThisDeviceOnly,
    whenUnlocked,
    whenUnlockedThisDeviceOnly,
};

class SecureItemStore;  // the storage seam, see src/credentials/SecureItemStore.hpp

class KeychainWrapper {
public:
    using Accessibility = std::optional<KeychainItemAccessibility>;
    using Bytes = std::vector<uint8_t>;

    // The process-wide instance the library built: service = the host's
    // bundle identifier (or "net.quarra.datacollector" when it is empty), no
    // access group, kept in the data directory under the options' secure
    // store key. The store is opened by its first use.
    static KeychainWrapper& standard();
    static KeychainWrapper& defaultKeychainWrapper() { return standard(); }

    // `store` must not be null; several wrappers may share one store.
    KeychainWrapper(std::string serviceName, std::optional<std::string> accessGroup,
                    std::shared_ptr<SecureItemStore> store);
    virtual ~KeychainWrapper() = default;

    const std::string& serviceName() const { return serviceName_; }
    const std::optional<std::string>& accessGroup() const { return accessGroup_; }

    virtual bool hasValue(const std::string& key, Accessibility accessibility = {}, bool isSynchronizable = false) const;
    virtual std::optional<KeychainItemAccessibility> accessibilityOfKey(const std::string& key) const;
    virtual std::set<std::string> allKeys() const;

    virtual std::optional<int64_t> integer(const std::string& key, Accessibility accessibility = {}, bool isSynchronizable = false) const;
    virtual std::optional<float> floatValue(const std::string& key, Accessibility accessibility = {}, bool isSynchronizable = false) const;
    virtual std::optional<double> doubleValue(const std::string& key, Accessibility accessibility = {}, bool isSynchronizable = false) const;
    virtual std::optional<bool> boolValue(const std::string& key, Accessibility accessibility = {}, bool isSynchronizable = false) const;
    virtual std::optional<std::string> string(const std::string& key, Accessibility accessibility = {}, bool isSynchronizable = false) const;
    virtual std::optional<Bytes> data(const std::string& key, Accessibility accessibility = {}, bool isSynchronizable = false) const;
    // A persistent reference to the stored item (an opaque handle), if stored.
    virtual std::optional<Bytes> dataRef(const std::string& key, Accessibility accessibility = {}, bool isSynchronizable = false) const;

    virtual bool set(int64_t value, const std::string& key, Accessibility accessibility = {}, bool isSynchronizable = false);
    virtual bool set(float value, const std::string& key, Accessibility accessibility = {}, bool isSynchronizable = false);
    virtual bool set(double value, const std::string& key, Accessibility accessibility = {}, bool isSynchronizable = false);
    virtual bool set(bool value, const std::string& key, Accessibility accessibility = {}, bool isSynchronizable = false);
    virtual bool set(const std::string& value, const std::string& key, Accessibility accessibility = {}, bool isSynchronizable = false);
    bool set(const char* value, const std::string& key, Accessibility accessibility = {}, bool isSynchronizable = false) {
        return set(std::string(value), key, accessibility, isSynchronizable);
    }
    virtual bool set(const Bytes& value, const std::string& key, Accessibility accessibility = {}, bool isSynchronizable = false);

    virtual bool remove(const std::string& key, Accessibility accessibility = {}, bool isSynchronizable = false);
    virtual bool removeObject(const std::string& key, Accessibility accessibility = {}, bool isSynchronizable = false);
    virtual bool removeAllKeys();
    // Removes every item of every service in the store.
    static void wipeKeychain();

protected:
    virtual bool updateValue(const Bytes& value, const std::string& key, Accessibility accessibility, bool isSynchronizable);

private:
    std::string serviceName_;
    std::optional<std::string> accessGroup_;
    std::shared_ptr<SecureItemStore> store_;
};

}  // namespace quarra
