#pragma once
// The storage seam under KeychainWrapper: keychain-like items with statuses.
//
// An item is identified by (service, access group or none, account bytes,
// synchronizable); it also carries an accessibility text and its data.
// - Per-item calls match that identity exactly ("no group" is its own slot).
//   A query's accessibility, when given, additionally requires the item to
//   have that accessibility.
// - Service-wide calls (copyAccounts, deleteService) filter by access group
//   when one is given and otherwise cover every group of the service.
// Implementations are safe to call from any thread and never throw.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quarra {

using SecStatus = int32_t;
inline constexpr SecStatus errSecSuccess = 0;
inline constexpr SecStatus errSecDuplicateItem = -25299;
inline constexpr SecStatus errSecItemNotFound = -25300;
// Any other failure: the store cannot be read or written.
inline constexpr SecStatus errSecIO = -36;

using SecureBytes = std::vector<uint8_t>;

struct SecureItemIdentity {
    std::string service;
    std::optional<std::string> accessGroup;
    SecureBytes account;
    bool synchronizable = false;

    auto operator<=>(const SecureItemIdentity&) const = default;
    bool operator==(const SecureItemIdentity&) const = default;
};

struct SecureItemQuery {
    SecureItemIdentity identity;
    std::optional<std::string> accessibility;  // filters when given
};

struct SecureItem {
    SecureBytes data;
    std::string accessibility;
    SecureBytes persistentRef;  // opaque, stable while the item exists
};

struct SecureItemMatch {
    SecStatus status = errSecItemNotFound;
    std::optional<SecureItem> item;  // present exactly when status is success
};

struct SecureAccountsMatch {
    SecStatus status = errSecItemNotFound;  // not found when the service has no item
    std::vector<SecureBytes> accounts;
};

class SecureItemStore {
public:
    virtual ~SecureItemStore() = default;

    // Success, errSecDuplicateItem when the identity is taken, or errSecIO.
    virtual SecStatus add(const SecureItemIdentity& identity, const std::string& accessibility,
                          const SecureBytes& data) = 0;
    virtual SecureItemMatch copyMatching(const SecureItemQuery& query) const = 0;
    virtual SecureAccountsMatch copyAccounts(const std::string& service,
                                             const std::optional<std::string>& accessGroup) const = 0;
    // Replaces the data only; the accessibility stays. errSecItemNotFound when nothing matches.
    virtual SecStatus update(const SecureItemQuery& query, const SecureBytes& data) = 0;
    virtual SecStatus deleteItem(const SecureItemQuery& query) = 0;
    // errSecItemNotFound when there was nothing to delete.
    virtual SecStatus deleteService(const std::string& service, const std::optional<std::string>& accessGroup) = 0;
    virtual SecStatus deleteAll() = 0;
};

}  // namespace quarra
