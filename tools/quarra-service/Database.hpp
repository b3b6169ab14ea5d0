#pragma once
// A thin owner of one SQLite connection and its prepared statements. Not
// thread-safe by itself: Storage serialises every use behind its mutex.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <variant>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace quarra::service {

using SqlValue = std::variant<std::nullptr_t, std::int64_t, double, std::string>;

class Database {
public:
    // Opens or creates the file; throws std::runtime_error with SQLite's message.
    explicit Database(const std::filesystem::path& file);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    class Statement {
    public:
        Statement(sqlite3* db, sqlite3_stmt* statement) : db_(db), statement_(statement) {}
        ~Statement();
        Statement(const Statement&) = delete;
        Statement& operator=(const Statement&) = delete;
        Statement(Statement&& other) noexcept : db_(other.db_), statement_(other.statement_) {
            other.statement_ = nullptr;
        }
        Statement& operator=(Statement&&) = delete;

        // True while a row is available; throws on an error.
        bool step();
        std::string text(int column) const;
        std::int64_t integer(int column) const;
        double real(int column) const;

    private:
        sqlite3* db_;
        sqlite3_stmt* statement_;
    };

    // Runs one or more statements without parameters or results.
    void execute(const std::string& sql);
    Statement prepare(const std::string& sql, const std::vector<SqlValue>& parameters = {});
    // Runs one statement with parameters; returns the number of rows changed.
    int run(const std::string& sql, const std::vector<SqlValue>& parameters);

private:
    sqlite3* db_ = nullptr;
};

}  // namespace quarra::service
