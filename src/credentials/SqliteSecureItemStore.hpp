#pragma once
// The secure store on disk: one SQLite database in the data directory, one row
// per item, each item's data sealed under the store key (the host's, or one
// kept in a key file of mode 0600 beside the database; the directory is
// created with mode 0700).
//
// A store that cannot be opened (unreadable directory or key file, wrong key,
// damaged database) stays unavailable: reads find nothing and writes fail,
// and one console line says why. An item whose sealed data is damaged reads
// as nothing but can be overwritten. Safe to call from any thread; calls block
// on the disk (and for up to a few seconds on another process's write).
#include <atomic>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/ConsoleLog.hpp"
#include "credentials/SecureItemStore.hpp"
#include "credentials/StoreKey.hpp"

namespace quarra {

class SqliteConnection;
class SqliteStatement;

class SqliteSecureItemStore final : public SecureItemStore {
public:
    static constexpr std::string_view kDatabaseFileName = "secure-store.sqlite";
    static constexpr std::string_view kKeyFileName = "secure-store.key";

    // Opens or creates the store in `directory`. An empty `hostKey` means the
    // key file; otherwise it must be 32 bytes and no key file is written.
    SqliteSecureItemStore(const std::filesystem::path& directory, const std::vector<unsigned char>& hostKey,
                          Console console);
    ~SqliteSecureItemStore() override;

    bool isAvailable() const { return db_ != nullptr; }

    SecStatus add(const SecureItemIdentity& identity, const std::string& accessibility,
                  const SecureBytes& data) override;
    SecureItemMatch copyMatching(const SecureItemQuery& query) const override;
    SecureAccountsMatch copyAccounts(const std::string& service,
                                     const std::optional<std::string>& accessGroup) const override;
    SecStatus update(const SecureItemQuery& query, const SecureBytes& data) override;
    SecStatus deleteItem(const SecureItemQuery& query) override;
    SecStatus deleteService(const std::string& service, const std::optional<std::string>& accessGroup) override;
    SecStatus deleteAll() override;

private:
    // Sets up db_ and key_, or returns why the store cannot be used.
    std::optional<std::string> open(const std::filesystem::path& directory, const std::vector<unsigned char>& hostKey);
    // Runs a statement that changes rows (mutex_ held); the status and, on failure, SQLite's message.
    SecStatus runChange(SqliteStatement& statement, std::string& error);
    // One console line for the first failure of each kind; never called with mutex_ held.
    void reportUnavailable(const std::string& reason) const;
    void reportUnreadableItem() const;

    Console console_;
    std::optional<StoreKey> key_;
    mutable std::mutex mutex_;              // serialises every use of db_
    std::unique_ptr<SqliteConnection> db_;  // set once in the constructor; null when unavailable
    mutable std::atomic<bool> reportedUnavailable_{false};
    mutable std::atomic<bool> reportedUnreadable_{false};
};

}  // namespace quarra
