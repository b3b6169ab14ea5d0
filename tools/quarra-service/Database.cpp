#include "Database.hpp"

#include <sqlite3.h>

#include <stdexcept>

namespace quarra::service {
namespace {

[[noreturn]] void fail(sqlite3* db, const std::string& what) {
    throw std::runtime_error(what + ": " + (db != nullptr ? sqlite3_errmsg(db) : "out of memory"));
}

}  // namespace

Database::Database(const std::filesystem::path& file) {
    if (sqlite3_open_v2(file.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
                        nullptr) != SQLITE_OK) {
        std::string message = db_ != nullptr ? sqlite3_errmsg(db_) : "out of memory";
        sqlite3_close(db_);
        db_ = nullptr;
        throw std::runtime_error("cannot open " + file.string() + ": " + message);
    }
    sqlite3_busy_timeout(db_, 2000);
}

Database::~Database() { sqlite3_close(db_); }

Database::Statement::~Statement() { sqlite3_finalize(statement_); }

bool Database::Statement::step() {
    int result = sqlite3_step(statement_);
    if (result == SQLITE_ROW) return true;
    if (result == SQLITE_DONE) return false;
    fail(db_, "query failed");
}

std::string Database::Statement::text(int column) const {
    const unsigned char* value = sqlite3_column_text(statement_, column);
    if (value == nullptr) return {};
    return std::string(reinterpret_cast<const char*>(value), static_cast<std::size_t>(sqlite3_column_bytes(statement_, column)));
}

std::int64_t Database::Statement::integer(int column) const { return sqlite3_column_int64(statement_, column); }

double Database::Statement::real(int column) const { return sqlite3_column_double(statement_, column); }

void Database::execute(const std::string& sql) {
    char* message = nullptr;
    if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
        std::string text = message != nullptr ? message : "unknown error";
        sqlite3_free(message);
        throw std::runtime_error("statement failed: " + text);
    }
}

Database::Statement Database::prepare(const std::string& sql, const std::vector<SqlValue>& parameters) {
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db_, sql.c_str(), static_cast<int>(sql.size()), &raw, nullptr) != SQLITE_OK) {
        fail(db_, "cannot prepare a statement");
    }
    Statement statement(db_, raw);
    for (std::size_t i = 0; i < parameters.size(); ++i) {
        int index = static_cast<int>(i + 1);
        int result = std::visit(
            [&](const auto& value) {
                using T = std::decay_t<decltype(value)>;
                if constexpr (std::is_same_v<T, std::nullptr_t>) {
                    return sqlite3_bind_null(raw, index);
                } else if constexpr (std::is_same_v<T, std::int64_t>) {
                    return sqlite3_bind_int64(raw, index, value);
                } else if constexpr (std::is_same_v<T, double>) {
                    return sqlite3_bind_double(raw, index, value);
                } else {
                    return sqlite3_bind_text64(raw, index, value.data(), value.size(), SQLITE_TRANSIENT, SQLITE_UTF8);
                }
            },
            parameters[i]);
        if (result != SQLITE_OK) fail(db_, "cannot bind a value");
    }
    return statement;
}

int Database::run(const std::string& sql, const std::vector<SqlValue>& parameters) {
    auto statement = prepare(sql, parameters);
    while (statement.step()) {
    }
    return sqlite3_changes(db_);
}

}  // namespace quarra::service
