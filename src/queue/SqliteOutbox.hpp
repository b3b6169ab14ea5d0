#pragma once
// The durable outbox: the queue's entries in one SQLite database in the data
// directory ("outbox.sqlite", mode 0600, the directory 0700), written ahead
// of every first send, each entry sealed under the secure store's key, WAL.
//
// A row that no longer opens is dropped (and counted); a database that cannot
// be read, or that another key sealed, is moved aside (renamed with a time
// stamp) and a fresh one started; a directory or a disk that cannot take it
// makes load() or commit() say so, and the queue then keeps to memory.
// Called under the queue's lock only.
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "credentials/SqliteHandle.hpp"
#include "credentials/StoreKey.hpp"
#include "queue/EventStore.hpp"
#include "queue/OutboxCheckpointer.hpp"

namespace quarra {

class SqliteOutbox final : public EventStore {
public:
    static constexpr std::string_view kFileName = "outbox.sqlite";
    using KeyLoader = std::function<StoreKeyResult()>;

    struct Settings {
        std::filesystem::path directory;
        KeyLoader key;  // the secure store's key
        // At most this many database pages (a test's way to fill the disk).
        std::optional<int64_t> maxPages;
        // The log is folded into the database off the writing thread once it
        // holds this many pages; by the writer itself without that thread, or
        // past the hard bound (the thread has not kept up).
        int checkpointPages = 1000;
        int checkpointHardBound = 16000;
        bool checkpointThread = true;
    };

    explicit SqliteOutbox(Settings settings);
    ~SqliteOutbox() override;

    Loaded load() override;
    void stagePut(uint64_t id, const std::string& text) override;
    void stageErase(uint64_t id) override;
    Committed commit() override;
    uint64_t storedSize(uint64_t textBytes) const override;
    // The checkpoint thread (joined when dropped); later writes fold the log themselves.
    std::shared_ptr<void> releaseBackgroundWork() override;

    const std::filesystem::path& path() const { return path_; }
    // Null until the outbox is loaded, and without a checkpoint thread.
    const OutboxCheckpointer* checkpointer() const { return checkpointer_.get(); }

private:
    enum class Opened { ok, damaged, failed };
    Opened openDatabase(std::string& problem);
    // Renames the database (and its log files) with a time stamp; the new name, or the problem.
    std::optional<std::string> moveAside(std::string& movedTo);
    Opened readRows(Loaded& loaded, std::string& problem);
    void logGrown(int pages);
    void closeDatabase();

    Settings settings_;
    std::filesystem::path path_;
    std::optional<StoreKey> key_;
    std::unique_ptr<SqliteConnection> db_;
    // A write's statements, prepared on the first one; gone before db_ closes.
    struct Statements {
        std::unique_ptr<SqliteStatement> begin, commit, put, erase;
    };
    std::optional<Statements> statements_;
    std::map<uint64_t, std::optional<std::string>> staged_;  // the text to put, or nothing: erase
    // Declared last: its thread is joined before the connection closes.
    std::unique_ptr<OutboxCheckpointer> checkpointer_;
};

}  // namespace quarra
