#include "credentials/SqliteHandle.hpp"

#include <chrono>

namespace quarra {
namespace {

// How long a write waits for another connection (another process) to finish.
constexpr std::chrono::milliseconds kBusyTimeout{5000};

// SQLite binds a null pointer as NULL, even with a length of zero.
const uint8_t kEmptyBlob = 0;

}  // namespace

void SqliteStatement::bind(int index, std::string_view text) {
    sqlite3_bind_text(statement_, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

void SqliteStatement::bind(int index, const SecureBytes& blob) {
    sqlite3_bind_blob(statement_, index, blob.empty() ? &kEmptyBlob : blob.data(), static_cast<int>(blob.size()),
                      SQLITE_TRANSIENT);
}

void SqliteStatement::bind(int index, int64_t number) { sqlite3_bind_int64(statement_, index, number); }

void SqliteStatement::bindNull(int index) { sqlite3_bind_null(statement_, index); }

int SqliteStatement::step() { return sqlite3_step(statement_); }

std::string SqliteStatement::textColumn(int index) const {
    const auto* text = sqlite3_column_text(statement_, index);
    int size = sqlite3_column_bytes(statement_, index);
    return text ? std::string(reinterpret_cast<const char*>(text), static_cast<size_t>(size)) : std::string();
}

SecureBytes SqliteStatement::blobColumn(int index) const {
    const auto* blob = static_cast<const uint8_t*>(sqlite3_column_blob(statement_, index));
    int size = sqlite3_column_bytes(statement_, index);
    return blob ? SecureBytes(blob, blob + size) : SecureBytes();
}

int64_t SqliteStatement::integerColumn(int index) const { return sqlite3_column_int64(statement_, index); }

bool SqliteStatement::isNullColumn(int index) const { return sqlite3_column_type(statement_, index) == SQLITE_NULL; }

std::unique_ptr<SqliteConnection> SqliteConnection::open(const std::filesystem::path& path, std::string& error) {
    sqlite3* db = nullptr;
    // The connection is serialised by its owner, so SQLite's own mutex is not needed.
    int rc =
        sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        error = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
        sqlite3_close(db);
        return nullptr;
    }
    sqlite3_busy_timeout(db, static_cast<int>(kBusyTimeout.count()));
    sqlite3_extended_result_codes(db, 1);
    return std::unique_ptr<SqliteConnection>(new SqliteConnection(db));
}

SqliteConnection::~SqliteConnection() { sqlite3_close(db_); }

std::unique_ptr<SqliteStatement> SqliteConnection::prepare(std::string_view sql) {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db_, sql.data(), static_cast<int>(sql.size()), &statement, nullptr) != SQLITE_OK) {
        sqlite3_finalize(statement);
        return nullptr;
    }
    return std::make_unique<SqliteStatement>(db_, statement);
}

bool SqliteConnection::execute(const char* sql) {
    return sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

std::string SqliteConnection::lastError() const { return sqlite3_errmsg(db_); }

int SqliteConnection::lastErrorCode() const { return sqlite3_errcode(db_) & 0xff; }

void SqliteConnection::onLogGrown(LogGrown hook) {
    logGrown_ = std::move(hook);
    sqlite3_wal_hook(
        db_,
        [](void* context, sqlite3*, const char*, int pages) {
            if (const auto& hook = static_cast<SqliteConnection*>(context)->logGrown_) hook(pages);
            return SQLITE_OK;
        },
        this);
}

bool SqliteConnection::checkpoint() {
    return sqlite3_wal_checkpoint_v2(db_, nullptr, SQLITE_CHECKPOINT_PASSIVE, nullptr, nullptr) == SQLITE_OK;
}

}  // namespace quarra
