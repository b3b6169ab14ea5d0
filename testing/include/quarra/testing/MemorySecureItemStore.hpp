#pragma once
// An in-memory SecureItemStore, for tests and hosts that want nothing on disk.
// Usage: KeychainWrapper("service", std::nullopt, std::make_shared<MemorySecureItemStore>()).
#include <cstdint>
#include <map>
#include <mutex>

#include "credentials/SecureItemStore.hpp"

namespace quarra {

class MemorySecureItemStore final : public SecureItemStore {
public:
    SecStatus add(const SecureItemIdentity& identity, const std::string& accessibility,
                  const SecureBytes& data) override;
    SecureItemMatch copyMatching(const SecureItemQuery& query) const override;
    SecureAccountsMatch copyAccounts(const std::string& service,
                                     const std::optional<std::string>& accessGroup) const override;
    SecStatus update(const SecureItemQuery& query, const SecureBytes& data) override;
    SecStatus deleteItem(const SecureItemQuery& query) override;
    SecStatus deleteService(const std::string& service, const std::optional<std::string>& accessGroup) override;
    SecStatus deleteAll() override;

    size_t size() const;

private:
    struct Entry {
        SecureBytes data;
        std::string accessibility;
        uint64_t id = 0;
    };
    using Items = std::map<SecureItemIdentity, Entry>;

    // The entry the query names, or end() (mutex_ held).
    Items::iterator find(const SecureItemQuery& query);
    Items::const_iterator find(const SecureItemQuery& query) const;

    mutable std::mutex mutex_;
    Items items_;
    uint64_t nextId_ = 1;
};

}  // namespace quarra
