#include <quarra/testing/MemorySecureItemStore.hpp>

#include "credentials/PersistentRef.hpp"

namespace quarra {
namespace {

bool inScope(const SecureItemIdentity& identity, const std::string& service,
             const std::optional<std::string>& accessGroup) {
    return identity.service == service && (!accessGroup || identity.accessGroup == accessGroup);
}

}  // namespace

MemorySecureItemStore::Items::iterator MemorySecureItemStore::find(const SecureItemQuery& query) {
    auto it = items_.find(query.identity);
    if (it == items_.end()) return it;
    if (query.accessibility && it->second.accessibility != *query.accessibility) return items_.end();
    return it;
}

MemorySecureItemStore::Items::const_iterator MemorySecureItemStore::find(const SecureItemQuery& query) const {
    auto it = items_.find(query.identity);
    if (it == items_.end()) return it;
    if (query.accessibility && it->second.accessibility != *query.accessibility) return items_.end();
    return it;
}

SecStatus MemorySecureItemStore::add(const SecureItemIdentity& identity, const std::string& accessibility,
                                     const SecureBytes& data) {
    std::lock_guard lock(mutex_);
    auto [it, inserted] = items_.try_emplace(identity, Entry{data, accessibility, nextId_});
    if (!inserted) return errSecDuplicateItem;
    ++nextId_;
    return errSecSuccess;
}

SecureItemMatch MemorySecureItemStore::copyMatching(const SecureItemQuery& query) const {
    std::lock_guard lock(mutex_);
    auto it = find(query);
    if (it == items_.end()) return {};
    return {errSecSuccess, SecureItem{it->second.data, it->second.accessibility, encodePersistentRef(it->second.id)}};
}

SecureAccountsMatch MemorySecureItemStore::copyAccounts(const std::string& service,
                                                        const std::optional<std::string>& accessGroup) const {
    std::lock_guard lock(mutex_);
    // In the order the items were added, as the database store lists them.
    std::map<uint64_t, SecureBytes> byId;
    for (const auto& [identity, entry] : items_) {
        if (inScope(identity, service, accessGroup)) byId.emplace(entry.id, identity.account);
    }
    SecureAccountsMatch match;
    for (auto& [id, account] : byId) match.accounts.push_back(std::move(account));
    if (!match.accounts.empty()) match.status = errSecSuccess;
    return match;
}

SecStatus MemorySecureItemStore::update(const SecureItemQuery& query, const SecureBytes& data) {
    std::lock_guard lock(mutex_);
    auto it = find(query);
    if (it == items_.end()) return errSecItemNotFound;
    it->second.data = data;
    return errSecSuccess;
}

SecStatus MemorySecureItemStore::deleteItem(const SecureItemQuery& query) {
    std::lock_guard lock(mutex_);
    auto it = find(query);
    if (it == items_.end()) return errSecItemNotFound;
    items_.erase(it);
    return errSecSuccess;
}

SecStatus MemorySecureItemStore::deleteService(const std::string& service,
                                               const std::optional<std::string>& accessGroup) {
    std::lock_guard lock(mutex_);
    auto removed = std::erase_if(items_, [&](const auto& item) { return inScope(item.first, service, accessGroup); });
    return removed > 0 ? errSecSuccess : errSecItemNotFound;
}

SecStatus MemorySecureItemStore::deleteAll() {
    std::lock_guard lock(mutex_);
    items_.clear();
    return errSecSuccess;
}

size_t MemorySecureItemStore::size() const {
    std::lock_guard lock(mutex_);
    return items_.size();
}

}  // namespace quarra
