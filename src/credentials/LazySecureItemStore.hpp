#pragma once
// A secure store opened on its first use, so that building the library's
// object graph never waits on the disk: the first read or write (on the
// library's worker, as a rule) opens the real store.
#include <functional>
#include <memory>
#include <mutex>

#include "credentials/SecureItemStore.hpp"

namespace quarra {

class LazySecureItemStore final : public SecureItemStore {
public:
    using Opener = std::function<std::shared_ptr<SecureItemStore>()>;
    // `open` runs once, on the thread of the first call; it must not return null.
    explicit LazySecureItemStore(Opener open) : open_(std::move(open)) {}

    SecStatus add(const SecureItemIdentity& identity, const std::string& accessibility,
                  const SecureBytes& data) override {
        return store().add(identity, accessibility, data);
    }
    SecureItemMatch copyMatching(const SecureItemQuery& query) const override { return store().copyMatching(query); }
    SecureAccountsMatch copyAccounts(const std::string& service,
                                     const std::optional<std::string>& accessGroup) const override {
        return store().copyAccounts(service, accessGroup);
    }
    SecStatus update(const SecureItemQuery& query, const SecureBytes& data) override {
        return store().update(query, data);
    }
    SecStatus deleteItem(const SecureItemQuery& query) override { return store().deleteItem(query); }
    SecStatus deleteService(const std::string& service, const std::optional<std::string>& accessGroup) override {
        return store().deleteService(service, accessGroup);
    }
    SecStatus deleteAll() override { return store().deleteAll(); }

private:
    SecureItemStore& store() const {
        std::call_once(opened_, [this] { store_ = open_(); });
        return *store_;
    }

    Opener open_;
    mutable std::once_flag opened_;
    mutable std::shared_ptr<SecureItemStore> store_;
};

}  // namespace quarra
