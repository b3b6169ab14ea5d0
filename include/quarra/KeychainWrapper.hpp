#pragma once
/**
 * @file
 * @brief A small typed key-value store for secrets (tokens, identifiers), kept sealed on disk.
 *
 * Items are identified by (service, access group, key, synchronizable). No
 * operation throws: reads give nullopt, writes false.
 *
 * - A key (or a string value) that is not valid UTF-8 is refused.
 * - set() stores with `whenUnlocked` when no accessibility is given; setting
 *   an existing key replaces its value and keeps its accessibility.
 * - An accessibility given to a read, set() or remove() must equal the
 *   item's: otherwise no item matches (and set() of an existing key fails).
 * - A getter of another kind than the stored value gives nullopt, except that
 *   doubleValue() also reads integer and float items.
 */
#include <quarra/Export.hpp>
#include <cstdint>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace quarra {

/**
 * @brief When an item is meant to be readable.
 *
 * The store records the value with each item and a query that names one
 * matches only items stored with it; it does not lock items itself.
 */
enum class KeychainItemAccessibility {
    afterFirstUnlock,                ///< After the first unlock since start-up.
    afterFirstUnlockThisDeviceOnly,  ///< As afterFirstUnlock; this device only.
    always,                          ///< Always.
    whenPasscodeSetThisDeviceOnly,   ///< Only while a passcode is set; this device only.
    alwaysThisDeviceOnly,            ///< Always; this device only.
    whenUnlocked,                    ///< While unlocked (the default of set()).
    whenUnlockedThisDeviceOnly,      ///< As whenUnlocked; this device only.
};

class SecureItemStore;  // the storage seam, see src/credentials/SecureItemStore.hpp

/**
 * @brief Typed access to the sealed secure store, for one service and access group.
 *
 * The library's own wrapper is standard(); it holds the access token and the
 * session's transaction identifier, among others.
 *
 * @par Thread
 * Every member may be called from any thread, concurrently: the store
 * serialises its own use.
 * @par Lifetime
 * The wrapper shares its store; standard() lives for the whole process. Items
 * stay on disk until removed (across restarts).
 * @par Blocking
 * Every read and write blocks on the disk; the first one also opens (or
 * creates) the store and its key file. A database that another process is
 * writing is waited for up to about 5 s.
 */
class QUARRA_API KeychainWrapper {
public:
    /// An accessibility to match or store; absent: any (reads), `whenUnlocked` (new items).
    using Accessibility = std::optional<KeychainItemAccessibility>;
    /// Raw item data.
    using Bytes = std::vector<uint8_t>;

    /**
     * @brief The process-wide instance the library built.
     *
     * Service = the host's bundle identifier (or "net.quarra.datacollector"
     * when it is empty), no access group, kept in the data directory under
     * the options' secure store key. The store is opened by its first use.
     *
     * @par Thread
     * Any thread.
     * @par Lifetime
     * Lives for the whole process; keep the reference freely.
     * @par Blocking
     * Never blocks on the disk (builds the library on first use, see
     * DataCollectorService::defaultService()).
     */
    static KeychainWrapper& standard();
    /// Another name for standard(); same thread, lifetime and blocking.
    static KeychainWrapper& defaultKeychainWrapper() { return standard(); }

    /**
     * @brief A wrapper over `store`, which must not be null; several wrappers may share one store.
     *
     * @par Thread
     * Any thread.
     * @par Lifetime
     * The wrapper keeps a reference to `store` for its own life.
     * @par Blocking
     * Never blocks.
     */
    KeychainWrapper(std::string serviceName, std::optional<std::string> accessGroup,
                    std::shared_ptr<SecureItemStore> store);
    /// Releases the wrapper's reference to its store; items stay on disk.
    virtual ~KeychainWrapper() = default;

    /// The service every item of this wrapper belongs to. Any thread; never blocks.
    const std::string& serviceName() const { return serviceName_; }
    /// The access group of this wrapper's items; none: items without a group. Any thread; never blocks.
    const std::optional<std::string>& accessGroup() const { return accessGroup_; }

    /**
     * @name Reading
     * Each gives nullopt (hasValue(): false) when no item matches, the key
     * is not valid UTF-8, the item holds another kind of value, or the store
     * cannot be read. Any thread; blocks on the disk.
     */
    //@{
    /// Whether an item with `key` exists (of any kind).
    virtual bool hasValue(const std::string& key, Accessibility accessibility = {}, bool isSynchronizable = false) const;
    /// The accessibility the item with `key` was stored with.
    virtual std::optional<KeychainItemAccessibility> accessibilityOfKey(const std::string& key) const;
    /// The keys of this service: of the wrapper's access group when it has one, of every group otherwise. Keys that are not UTF-8 are left out.
    virtual std::set<std::string> allKeys() const;

    /// An integer item.
    virtual std::optional<int64_t> integer(const std::string& key, Accessibility accessibility = {}, bool isSynchronizable = false) const;
    /// A float item.
    virtual std::optional<float> floatValue(const std::string& key, Accessibility accessibility = {}, bool isSynchronizable = false) const;
    /// A double item; integer and float items are read as well.
    virtual std::optional<double> doubleValue(const std::string& key, Accessibility accessibility = {}, bool isSynchronizable = false) const;
    /// A boolean item.
    virtual std::optional<bool> boolValue(const std::string& key, Accessibility accessibility = {}, bool isSynchronizable = false) const;
    /// A string item (valid UTF-8; a number or boolean item is not a string).
    virtual std::optional<std::string> string(const std::string& key, Accessibility accessibility = {}, bool isSynchronizable = false) const;
    /// The item's raw data, whatever its kind.
    virtual std::optional<Bytes> data(const std::string& key, Accessibility accessibility = {}, bool isSynchronizable = false) const;
    /// A persistent reference to the stored item (an opaque handle, stable while the item exists), if stored.
    virtual std::optional<Bytes> dataRef(const std::string& key, Accessibility accessibility = {}, bool isSynchronizable = false) const;
    //@}

    /**
     * @name Writing
     * Each stores `value` under `key` and returns whether it was written. A
     * new item gets `accessibility` (default `whenUnlocked`); an existing one
     * keeps its accessibility, and a different `accessibility` given for it
     * finds no item to update (false). Any thread; blocks on the disk.
     */
    //@{
    /// Stores an integer item.
    virtual bool set(int64_t value, const std::string& key, Accessibility accessibility = {}, bool isSynchronizable = false);
    /// Stores a float item.
    virtual bool set(float value, const std::string& key, Accessibility accessibility = {}, bool isSynchronizable = false);
    /// Stores a double item.
    virtual bool set(double value, const std::string& key, Accessibility accessibility = {}, bool isSynchronizable = false);
    /// Stores a boolean item.
    virtual bool set(bool value, const std::string& key, Accessibility accessibility = {}, bool isSynchronizable = false);
    /// Stores a string item; a value that is not valid UTF-8 is refused (false).
    virtual bool set(const std::string& value, const std::string& key, Accessibility accessibility = {}, bool isSynchronizable = false);
    /// Stores a string item (so that a literal is not taken for a bool).
    bool set(const char* value, const std::string& key, Accessibility accessibility = {}, bool isSynchronizable = false) {
        return set(std::string(value), key, accessibility, isSynchronizable);
    }
    /// Stores raw data.
    virtual bool set(const Bytes& value, const std::string& key, Accessibility accessibility = {}, bool isSynchronizable = false);
    //@}

    /**
     * @name Removing
     * Any thread; blocks on the disk.
     */
    //@{
    /// Removes the item with `key`; false when there was none or the store failed. Same as removeObject().
    virtual bool remove(const std::string& key, Accessibility accessibility = {}, bool isSynchronizable = false);
    /// Removes the item with `key`; false when there was none or the store failed.
    virtual bool removeObject(const std::string& key, Accessibility accessibility = {}, bool isSynchronizable = false);
    /// Removes every item of this service (of the wrapper's access group when it has one, of every group otherwise); false when there was none.
    virtual bool removeAllKeys();
    /// Removes every item of every service in the standard() store, the library's own included.
    static void wipeKeychain();
    //@}

protected:
    /**
     * @brief Replaces the data of the existing item; the set() overloads call it when `key` is taken.
     *
     * @par Thread
     * Any thread.
     * @par Lifetime
     * Keeps nothing.
     * @par Blocking
     * Blocks on the disk.
     */
    virtual bool updateValue(const Bytes& value, const std::string& key, Accessibility accessibility, bool isSynchronizable);

private:
    std::string serviceName_;
    std::optional<std::string> accessGroup_;
    std::shared_ptr<SecureItemStore> store_;
};

}  // namespace quarra
