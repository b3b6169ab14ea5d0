#include "queue/SqliteOutbox.hpp"

#include <sqlite3.h>

#include <chrono>
#include <ctime>
#include <system_error>

#include "base/PrivateFiles.hpp"
#include "credentials/Sealing.hpp"

namespace quarra {
namespace {

constexpr const char* kSchema = R"sql(
CREATE TABLE IF NOT EXISTS outbox_meta (name TEXT PRIMARY KEY, value BLOB NOT NULL);
CREATE TABLE IF NOT EXISTS outbox (id INTEGER PRIMARY KEY, sealed BLOB NOT NULL);
)sql";

// A known text sealed under the key when the outbox is made: rows another
// key sealed would never open, so such a database is set aside whole.
constexpr std::string_view kKeyCheckName = "key-check";
constexpr std::string_view kKeyCheckText = "quarra outbox v1";
// Nonce and authentication tag added by sealing.
constexpr uint64_t kSealingOverhead = 24 + 16;

SecureBytes bytesOf(std::string_view text) { return SecureBytes(text.begin(), text.end()); }

std::span<const uint8_t> viewOf(std::string_view text) {
    return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

bool isDamage(int code) { return code == SQLITE_NOTADB || code == SQLITE_CORRUPT; }

std::string utcStamp() {
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm utc{};
    gmtime_r(&now, &utc);
    char text[32] = {};
    std::strftime(text, sizeof text, "%Y%m%dT%H%M%SZ", &utc);
    return text;
}

}  // namespace

SqliteOutbox::SqliteOutbox(Settings settings)
    : settings_(std::move(settings)), path_(settings_.directory / kFileName) {}

SqliteOutbox::~SqliteOutbox() = default;

uint64_t SqliteOutbox::storedSize(uint64_t textBytes) const { return textBytes + kSealingOverhead; }

void SqliteOutbox::closeDatabase() {
    statements_.reset();
    db_.reset();
}

SqliteOutbox::Opened SqliteOutbox::openDatabase(std::string& problem) {
    closeDatabase();
    if (auto error = touchPrivateFile(path_)) {
        problem = *error;
        return Opened::failed;
    }
    db_ = SqliteConnection::open(path_, problem);
    if (!db_) return Opened::failed;
    auto fail = [&](bool inTransaction) {
        problem = db_->lastError();
        const bool damaged = isDamage(db_->lastErrorCode());
        if (inTransaction) db_->execute("ROLLBACK");
        return damaged ? Opened::damaged : Opened::failed;
    };
    // Write-ahead logging: a batch is one append to the log, not a rewrite of the file.
    // The rows are read once, at start-up, and written as appends: a small
    // page cache serves that, where SQLite's default would keep megabytes of
    // the file in memory beside the entries the queue already holds.
    if (!db_->execute("PRAGMA journal_mode = WAL; PRAGMA synchronous = NORMAL; PRAGMA cache_size = -256")) {
        return fail(false);
    }
    db_->onLogGrown([this](int pages) { logGrown(pages); });
    if (settings_.maxPages) {
        const std::string limit = "PRAGMA max_page_count = " + std::to_string(*settings_.maxPages);
        if (!db_->execute(limit.c_str())) return fail(false);
    }
    if (!db_->execute("BEGIN IMMEDIATE")) return fail(false);
    if (!db_->execute(kSchema)) return fail(true);
    auto select = db_->prepare("SELECT value FROM outbox_meta WHERE name = ?1");
    if (!select) return fail(true);
    select->bind(1, kKeyCheckName);
    const int rc = select->step();
    if (rc == SQLITE_ROW) {
        auto opened = unsealFromBytes(*key_, select->blobColumn(0));
        if (!opened || *opened != bytesOf(kKeyCheckText)) {
            db_->execute("ROLLBACK");
            problem = "sealed under another key";
            return Opened::damaged;
        }
    } else if (rc == SQLITE_DONE) {
        auto insert = db_->prepare("INSERT INTO outbox_meta (name, value) VALUES (?1, ?2)");
        if (!insert) return fail(true);
        insert->bind(1, kKeyCheckName);
        insert->bind(2, sealToBytes(*key_, viewOf(kKeyCheckText)));
        if (insert->step() != SQLITE_DONE) return fail(true);
    } else {
        return fail(true);
    }
    if (!db_->execute("COMMIT")) return fail(true);
    return Opened::ok;
}

std::optional<std::string> SqliteOutbox::moveAside(std::string& movedTo) {
    closeDatabase();
    const auto stamp = ".corrupt-" + utcStamp();
    std::error_code error;
    movedTo = path_.filename().string() + stamp;
    std::filesystem::rename(path_, path_.string() + stamp, error);
    if (error) return error.message();
    for (const char* log : {"-wal", "-shm"}) {
        const std::filesystem::path file = path_.string() + log;
        if (std::filesystem::exists(file, error)) std::filesystem::rename(file, file.string() + stamp, error);
    }
    return std::nullopt;
}

SqliteOutbox::Opened SqliteOutbox::readRows(Loaded& loaded, std::string& problem) {
    auto rows = db_->prepare("SELECT id, sealed FROM outbox ORDER BY id");
    if (!rows) {
        problem = db_->lastError();
        return isDamage(db_->lastErrorCode()) ? Opened::damaged : Opened::failed;
    }
    for (int rc = rows->step();; rc = rows->step()) {
        if (rc == SQLITE_DONE) return Opened::ok;
        if (rc != SQLITE_ROW) {
            problem = db_->lastError();
            return isDamage(db_->lastErrorCode()) ? Opened::damaged : Opened::failed;
        }
        const auto id = static_cast<uint64_t>(rows->integerColumn(0));
        auto opened = unsealFromBytes(*key_, rows->blobColumn(1));
        if (!opened) {
            ++loaded.unreadable;
            staged_[id] = std::nullopt;
            continue;
        }
        loaded.rows.push_back(Row{id, std::string(opened->begin(), opened->end())});
    }
}

SqliteOutbox::Loaded SqliteOutbox::load() {
    Loaded loaded;
    if (!ensureSodium()) {
        loaded.problem = "the sealing library cannot start";
        return loaded;
    }
    if (auto error = makePrivateDirectory(settings_.directory)) {
        loaded.problem = *error;
        return loaded;
    }
    auto key = settings_.key ? settings_.key() : StoreKeyResult{std::nullopt, "no key"};
    if (!key.key) {
        loaded.problem = "no sealing key: " + key.error;
        return loaded;
    }
    key_ = std::move(key.key);

    // A damaged database is set aside once and a fresh one started.
    for (int attempt = 0; attempt < 2; ++attempt) {
        std::string problem;
        Opened opened = openDatabase(problem);
        if (opened == Opened::ok) {
            loaded.rows.clear();
            loaded.unreadable = 0;
            staged_.clear();
            opened = readRows(loaded, problem);
        }
        if (opened == Opened::ok) {
            // Only now: a database set aside above must not be checkpointed.
            if (settings_.checkpointThread) checkpointer_ = std::make_unique<OutboxCheckpointer>(path_);
            return loaded;
        }
        if (opened == Opened::failed || attempt == 1) {
            closeDatabase();
            loaded.rows.clear();
            loaded.problem = problem;
            return loaded;
        }
        std::string movedTo;
        if (auto error = moveAside(movedTo)) {
            loaded.problem = problem + "; it could not be moved aside: " + *error;
            return loaded;
        }
        loaded.notes.push_back("Outbox damaged (" + problem + "); moved aside as " + movedTo +
                               ", starting a fresh one");
    }
    return loaded;
}

std::shared_ptr<void> SqliteOutbox::releaseBackgroundWork() { return std::move(checkpointer_); }

void SqliteOutbox::logGrown(int pages) {
    if (pages < settings_.checkpointPages) return;
    if (!checkpointer_ || pages >= settings_.checkpointHardBound) {
        db_->checkpoint();
        return;
    }
    checkpointer_->request();
}

void SqliteOutbox::stagePut(uint64_t id, const std::string& text) { staged_[id] = text; }

void SqliteOutbox::stageErase(uint64_t id) { staged_[id] = std::nullopt; }

EventStore::Committed SqliteOutbox::commit() {
    Committed committed;
    if (staged_.empty()) return committed;
    if (!db_) {
        committed.problem = "the outbox is not open";
        return committed;
    }
    auto fail = [&] {
        committed.problem = db_->lastError();  // a reset statement keeps its error
        db_->execute("ROLLBACK");
        staged_.clear();
        return committed;
    };
    if (!statements_) {
        Statements prepared{db_->prepare("BEGIN IMMEDIATE"), db_->prepare("COMMIT"),
                            db_->prepare("INSERT OR REPLACE INTO outbox (id, sealed) VALUES (?1, ?2)"),
                            db_->prepare("DELETE FROM outbox WHERE id = ?1")};
        if (!prepared.begin || !prepared.commit || !prepared.put || !prepared.erase) return fail();
        statements_ = std::move(prepared);
    }
    auto run = [](SqliteStatement& statement) {
        const bool done = statement.step() == SQLITE_DONE;
        statement.reset();
        return done;
    };
    if (!run(*statements_->begin)) return fail();
    for (const auto& [id, text] : staged_) {
        auto& statement = text ? *statements_->put : *statements_->erase;
        statement.bind(1, static_cast<int64_t>(id));
        if (text) statement.bind(2, sealToBytes(*key_, viewOf(*text)));
        if (!run(statement)) return fail();
    }
    if (!run(*statements_->commit)) return fail();
    staged_.clear();
    return committed;
}

}  // namespace quarra
