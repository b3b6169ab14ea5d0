#include "credentials/SqliteSecureItemStore.hpp"

#include "credentials/PersistentRef.hpp"
#include "base/PrivateFiles.hpp"
#include "credentials/Sealing.hpp"
#include "credentials/SqliteHandle.hpp"

namespace quarra {
namespace {

constexpr const char* kSchema = R"sql(
CREATE TABLE IF NOT EXISTS store_meta (
    name TEXT PRIMARY KEY,
    value BLOB NOT NULL
);
CREATE TABLE IF NOT EXISTS items (
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    service TEXT NOT NULL,
    has_group INTEGER NOT NULL,
    access_group TEXT NOT NULL,
    account BLOB NOT NULL,
    synchronizable INTEGER NOT NULL,
    accessibility TEXT NOT NULL,
    nonce BLOB NOT NULL,
    sealed BLOB NOT NULL,
    UNIQUE (service, has_group, access_group, account, synchronizable)
);
)sql";

// A known text sealed under the key when the store is created; a key that
// cannot open it is the wrong key, and the store is not touched with it.
constexpr std::string_view kKeyCheckName = "key-check";
constexpr std::string_view kKeyCheckText = "quarra secure store v1";

// Identity is ?1..?5; ?6 is the accessibility filter (NULL: any).
constexpr std::string_view kMatchItem =
    " WHERE service = ?1 AND has_group = ?2 AND access_group = ?3 AND account = ?4 AND synchronizable = ?5"
    " AND (?6 IS NULL OR accessibility = ?6)";
// ?1 service, ?2 whether a group is given, ?3 the group.
constexpr std::string_view kMatchService = " WHERE service = ?1 AND (?2 = 0 OR (has_group = 1 AND access_group = ?3))";

std::string sql(std::string_view head, std::string_view tail = {}) { return std::string(head) + std::string(tail); }

void bindIdentity(SqliteStatement& statement, const SecureItemIdentity& identity) {
    statement.bind(1, identity.service);
    statement.bind(2, int64_t{identity.accessGroup ? 1 : 0});
    statement.bind(3, identity.accessGroup.value_or(""));
    statement.bind(4, identity.account);
    statement.bind(5, int64_t{identity.synchronizable ? 1 : 0});
}

void bindQuery(SqliteStatement& statement, const SecureItemQuery& query) {
    bindIdentity(statement, query.identity);
    if (query.accessibility) {
        statement.bind(6, *query.accessibility);
    } else {
        statement.bindNull(6);
    }
}

void bindScope(SqliteStatement& statement, const std::string& service, const std::optional<std::string>& group) {
    statement.bind(1, service);
    statement.bind(2, int64_t{group ? 1 : 0});
    statement.bind(3, group.value_or(""));
}

SecureBytes keyCheckPlaintext() { return SecureBytes(kKeyCheckText.begin(), kKeyCheckText.end()); }

// Creates the tables and the key check, or verifies the key against it.
std::optional<std::string> prepareSchema(SqliteConnection& db, const StoreKey& key) {
    if (!db.execute("BEGIN IMMEDIATE")) return db.lastError();
    auto fail = [&db](std::string reason) -> std::optional<std::string> {
        db.execute("ROLLBACK");
        return reason;
    };
    if (!db.execute(kSchema)) return fail(db.lastError());
    auto select = db.prepare("SELECT value FROM store_meta WHERE name = ?1");
    if (!select) return fail(db.lastError());
    select->bind(1, kKeyCheckName);
    int rc = select->step();
    if (rc == SQLITE_ROW) {
        auto opened = unsealFromBytes(key, select->blobColumn(0));
        if (!opened || *opened != keyCheckPlaintext()) return fail("the key does not open this store");
    } else if (rc == SQLITE_DONE) {
        auto insert = db.prepare("INSERT INTO store_meta (name, value) VALUES (?1, ?2)");
        if (!insert) return fail(db.lastError());
        insert->bind(1, kKeyCheckName);
        insert->bind(2, sealToBytes(key, keyCheckPlaintext()));
        if (insert->step() != SQLITE_DONE) return fail(db.lastError());
    } else {
        return fail(db.lastError());
    }
    if (!db.execute("COMMIT")) return fail(db.lastError());
    return std::nullopt;
}

}  // namespace

SqliteSecureItemStore::SqliteSecureItemStore(const std::filesystem::path& directory,
                                             const std::vector<unsigned char>& hostKey, Console console)
    : console_(std::move(console)) {
    if (auto reason = open(directory, hostKey)) {
        db_.reset();
        key_.reset();
        reportUnavailable(*reason);
    }
}

SqliteSecureItemStore::~SqliteSecureItemStore() = default;

std::optional<std::string> SqliteSecureItemStore::open(const std::filesystem::path& directory,
                                                       const std::vector<unsigned char>& hostKey) {
    if (!ensureSodium()) return "the sealing library cannot start";
    if (auto error = makePrivateDirectory(directory)) return error;
    StoreKeyResult loaded = hostKey.empty() ? loadOrCreateKeyFile(directory / kKeyFileName) : keyFromHost(hostKey);
    if (!loaded.key) return loaded.error;
    key_ = std::move(loaded.key);
    auto databasePath = directory / kDatabaseFileName;
    if (auto error = touchPrivateFile(databasePath)) return error;
    std::string error;
    db_ = SqliteConnection::open(databasePath, error);
    if (!db_) return error;
    // Write-ahead logging: each write is still one atomic transaction, but a
    // commit appends to the log instead of syncing the whole file every time.
    if (!db_->execute("PRAGMA journal_mode = WAL; PRAGMA synchronous = NORMAL")) return db_->lastError();
    return prepareSchema(*db_, *key_);
}

// Runs a statement that changes rows: success when a row changed, not found
// when none did, duplicate on a uniqueness conflict.
SecStatus SqliteSecureItemStore::runChange(SqliteStatement& statement, std::string& error) {
    int rc = statement.step();
    if (rc == SQLITE_DONE) return statement.changes() > 0 ? errSecSuccess : errSecItemNotFound;
    if ((rc & 0xff) == SQLITE_CONSTRAINT) return errSecDuplicateItem;
    error = db_->lastError();
    return errSecIO;
}

SecStatus SqliteSecureItemStore::add(const SecureItemIdentity& identity, const std::string& accessibility,
                                     const SecureBytes& data) {
    if (!isAvailable()) return errSecIO;
    SealedData sealed = seal(*key_, data);
    SecStatus status = errSecIO;
    std::string error;
    {
        std::lock_guard lock(mutex_);
        auto insert = db_->prepare(
            "INSERT INTO items (service, has_group, access_group, account, synchronizable, accessibility, nonce, "
            "sealed)"
            " VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8)");
        if (insert) {
            bindIdentity(*insert, identity);
            insert->bind(6, accessibility);
            insert->bind(7, sealed.nonce);
            insert->bind(8, sealed.ciphertext);
            status = runChange(*insert, error);
        } else {
            error = db_->lastError();
        }
    }
    if (status == errSecIO) reportUnavailable(error);
    return status;
}

SecureItemMatch SqliteSecureItemStore::copyMatching(const SecureItemQuery& query) const {
    if (!isAvailable()) return {errSecIO, std::nullopt};
    SecStatus status = errSecIO;
    std::string error;
    SecureItem item;
    SecureBytes nonce;
    SecureBytes ciphertext;
    {
        std::lock_guard lock(mutex_);
        auto select = db_->prepare(sql("SELECT id, accessibility, nonce, sealed FROM items", kMatchItem));
        int rc = SQLITE_ERROR;
        if (select) {
            bindQuery(*select, query);
            rc = select->step();
        }
        if (rc == SQLITE_ROW) {
            item.persistentRef = encodePersistentRef(static_cast<uint64_t>(select->integerColumn(0)));
            item.accessibility = select->textColumn(1);
            nonce = select->blobColumn(2);
            ciphertext = select->blobColumn(3);
            status = errSecSuccess;
        } else if (rc == SQLITE_DONE) {
            status = errSecItemNotFound;
        } else {
            error = db_->lastError();
        }
    }
    if (status == errSecIO) reportUnavailable(error);
    if (status != errSecSuccess) return {status, std::nullopt};
    // Opened outside the lock: it only needs the key, which never changes.
    auto data = unseal(*key_, nonce, ciphertext);
    if (!data) {
        reportUnreadableItem();
        return {errSecIO, std::nullopt};
    }
    item.data = std::move(*data);
    return {errSecSuccess, std::move(item)};
}

SecureAccountsMatch SqliteSecureItemStore::copyAccounts(const std::string& service,
                                                        const std::optional<std::string>& accessGroup) const {
    if (!isAvailable()) return {errSecIO, {}};
    SecureAccountsMatch match;
    std::string error;
    {
        std::lock_guard lock(mutex_);
        auto select = db_->prepare(sql("SELECT account FROM items", kMatchService) + " ORDER BY id");
        int rc = SQLITE_ERROR;
        if (select) {
            bindScope(*select, service, accessGroup);
            while ((rc = select->step()) == SQLITE_ROW) match.accounts.push_back(select->blobColumn(0));
        }
        if (rc == SQLITE_DONE) {
            match.status = match.accounts.empty() ? errSecItemNotFound : errSecSuccess;
        } else {
            error = db_->lastError();
            match = {errSecIO, {}};
        }
    }
    if (match.status == errSecIO) reportUnavailable(error);
    return match;
}

SecStatus SqliteSecureItemStore::update(const SecureItemQuery& query, const SecureBytes& data) {
    if (!isAvailable()) return errSecIO;
    SealedData sealed = seal(*key_, data);
    SecStatus status = errSecIO;
    std::string error;
    {
        std::lock_guard lock(mutex_);
        // ?1..?6 match the item; the new data takes ?7 and ?8.
        auto change = db_->prepare(sql("UPDATE items SET nonce = ?7, sealed = ?8", kMatchItem));
        if (change) {
            bindQuery(*change, query);
            change->bind(7, sealed.nonce);
            change->bind(8, sealed.ciphertext);
            status = runChange(*change, error);
        } else {
            error = db_->lastError();
        }
    }
    if (status == errSecIO) reportUnavailable(error);
    return status;
}

SecStatus SqliteSecureItemStore::deleteItem(const SecureItemQuery& query) {
    if (!isAvailable()) return errSecIO;
    SecStatus status = errSecIO;
    std::string error;
    {
        std::lock_guard lock(mutex_);
        auto remove = db_->prepare(sql("DELETE FROM items", kMatchItem));
        if (remove) {
            bindQuery(*remove, query);
            status = runChange(*remove, error);
        } else {
            error = db_->lastError();
        }
    }
    if (status == errSecIO) reportUnavailable(error);
    return status;
}

SecStatus SqliteSecureItemStore::deleteService(const std::string& service,
                                               const std::optional<std::string>& accessGroup) {
    if (!isAvailable()) return errSecIO;
    SecStatus status = errSecIO;
    std::string error;
    {
        std::lock_guard lock(mutex_);
        auto remove = db_->prepare(sql("DELETE FROM items", kMatchService));
        if (remove) {
            bindScope(*remove, service, accessGroup);
            status = runChange(*remove, error);
        } else {
            error = db_->lastError();
        }
    }
    if (status == errSecIO) reportUnavailable(error);
    return status;
}

SecStatus SqliteSecureItemStore::deleteAll() {
    if (!isAvailable()) return errSecIO;
    std::string error;
    {
        std::lock_guard lock(mutex_);
        if (!db_->execute("DELETE FROM items")) error = db_->lastError();
    }
    if (error.empty()) return errSecSuccess;
    reportUnavailable(error);
    return errSecIO;
}

void SqliteSecureItemStore::reportUnavailable(const std::string& reason) const {
    if (reportedUnavailable_.exchange(true)) return;
    console_.log("Secure store unavailable: " + reason);
}

void SqliteSecureItemStore::reportUnreadableItem() const {
    if (reportedUnreadable_.exchange(true)) return;
    console_.log("Secure store item unreadable: its sealed data does not open with the store key");
}

}  // namespace quarra
