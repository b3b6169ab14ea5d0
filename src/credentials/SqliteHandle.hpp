#pragma once
// Thin owners of an SQLite connection and its prepared statements. Not
// thread-safe: the owner serialises every use of one connection.
#include <sqlite3.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "credentials/SecureItemStore.hpp"

namespace quarra {

class SqliteStatement {
public:
    SqliteStatement(sqlite3* db, sqlite3_stmt* statement) : db_(db), statement_(statement) {}
    ~SqliteStatement() { sqlite3_finalize(statement_); }
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    // Parameters are numbered from 1, as in the SQL text (?1, ?2, ...).
    void bind(int index, std::string_view text);
    void bind(int index, const SecureBytes& blob);
    void bind(int index, int64_t number);
    void bindNull(int index);

    // SQLITE_ROW, SQLITE_DONE or an error code.
    int step();
    // Ready to run again, with no parameter bound.
    void reset() {
        sqlite3_reset(statement_);
        sqlite3_clear_bindings(statement_);
    }

    // Columns are numbered from 0.
    std::string textColumn(int index) const;
    SecureBytes blobColumn(int index) const;
    int64_t integerColumn(int index) const;
    bool isNullColumn(int index) const;

    // Rows changed by the last completed step of this connection.
    int changes() const { return sqlite3_changes(db_); }

private:
    sqlite3* db_;
    sqlite3_stmt* statement_;
};

class SqliteConnection {
public:
    // Opens (creating when missing) the database file; the error is SQLite's message.
    static std::unique_ptr<SqliteConnection> open(const std::filesystem::path& path, std::string& error);
    ~SqliteConnection();
    SqliteConnection(const SqliteConnection&) = delete;
    SqliteConnection& operator=(const SqliteConnection&) = delete;

    // Null when the SQL cannot be prepared (see lastError()).
    std::unique_ptr<SqliteStatement> prepare(std::string_view sql);
    // Runs statements that return no rows; false on failure (see lastError()).
    bool execute(const char* sql);
    std::string lastError() const;
    // The primary result code of the last failure (SQLITE_NOTADB, SQLITE_FULL, ...).
    int lastErrorCode() const;

    // Told, after each commit in write-ahead-log mode, how many pages the log
    // holds. Setting it ends SQLite's own checkpoint after a commit: the
    // owner decides when the log is folded into the database.
    using LogGrown = std::function<void(int pages)>;
    void onLogGrown(LogGrown hook);
    // Folds what it can of the write-ahead log into the database, waiting
    // for no other connection; false when it could not (see lastError()).
    bool checkpoint();

private:
    explicit SqliteConnection(sqlite3* db) : db_(db) {}
    sqlite3* db_;
    LogGrown logGrown_;
};

}  // namespace quarra
