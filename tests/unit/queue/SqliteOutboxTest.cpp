// The durable outbox on real files: what survives a restart, and what each
// kind of damage costs.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include <quarra/testing/FakeClock.hpp>

#include "base/ConsoleLog.hpp"
#include "queue/DataCollectorEventsQueue.hpp"
#include "queue/SqliteOutbox.hpp"
#include "support/CapturingConsole.hpp"
#include "support/TempDir.hpp"

namespace quarra {
namespace {

namespace fs = std::filesystem;

std::vector<unsigned char> keyBytes(unsigned char fill) { return std::vector<unsigned char>(StoreKey::kSize, fill); }

QueuedEvent report(const std::string& n) {
    return QueuedEvent{DataCollectorAPI::userEventData("userEvents", 3, 0, 0), {{"n", n}}, "key-" + n,
                       FakeClock().now()};
}

// One process's queue over the outbox in `directory`.
struct Process {
    explicit Process(const fs::path& directory, unsigned char keyFill = 7, std::optional<int64_t> maxPages = {})
        : queue(std::make_unique<SqliteOutbox>(SqliteOutbox::Settings{
                    .directory = directory,
                    .key = [keyFill] { return keyFromHost(keyBytes(keyFill)); },
                    .maxPages = maxPages,
                }),
                &console, std::make_shared<FakeClock>()) {}

    std::vector<std::string> waiting() const {
        std::vector<std::string> names;
        for (const auto& stored : queue.eventsQueueArray()) names.push_back(stored.event.event.value("n", ""));
        return names;
    }

    std::shared_ptr<testing::CapturingConsole> sink = std::make_shared<testing::CapturingConsole>();
    Console console{sink, std::make_shared<FakeClock>()};
    DataCollectorEventsQueue queue;
};

void runSql(const fs::path& database, const std::string& statement) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(database.c_str(), &db), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db, statement.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
    sqlite3_close(db);
}

bool anyFileStartingWith(const fs::path& directory, const std::string& prefix) {
    for (const auto& entry : fs::directory_iterator(directory)) {
        if (entry.path().filename().string().rfind(prefix, 0) == 0) return true;
    }
    return false;
}

TEST(SqliteOutbox, WhatWasCommittedComesBackAfterARestartAsWaitingReports) {
    testing::TempDir directory;
    const auto data = directory.path() / "data";
    {
        Process first(data);
        first.queue.addEvent(report("queued"));
        auto flying = first.queue.recordInFlight(report("in flight"));
        auto accepted = first.queue.recordInFlight(report("accepted"));
        first.queue.removeEvent(accepted.id);
        EXPECT_TRUE(first.queue.commit());
        first.queue.addEvent(report("never committed"));
        EXPECT_NE(flying.id, 0u);
    }
    Process second(data);
    // Whatever an earlier process left waits for a resend, oldest first, with its key.
    EXPECT_EQ(second.waiting(), (std::vector<std::string>{"queued", "in flight"}));
    EXPECT_EQ(second.queue.restored(), 2u);
    EXPECT_EQ(second.queue.eventsQueueArray()[1].event.idempotencyKey, "key-in flight");
    EXPECT_TRUE(second.queue.isDurable());
    // New entries come after them.
    auto next = second.queue.addEvent(report("next"));
    EXPECT_GT(next, second.queue.eventsQueueArray()[1].id);

    struct stat status {};
    ASSERT_EQ(::stat(data.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0700u);
    ASSERT_EQ(::stat((data / SqliteOutbox::kFileName).c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0600u);
}

TEST(SqliteOutbox, ARowThatNoLongerOpensIsDroppedAndCounted) {
    testing::TempDir directory;
    {
        Process first(directory.path());
        for (const char* n : {"a", "b", "c"}) first.queue.addEvent(report(n));
        ASSERT_TRUE(first.queue.commit());
    }
    runSql(directory.path() / SqliteOutbox::kFileName, "UPDATE outbox SET sealed = x'0011223344' WHERE id = 2");
    {
        Process second(directory.path());
        EXPECT_EQ(second.waiting(), (std::vector<std::string>{"a", "c"}));
        EXPECT_EQ(second.queue.drops().unreadable, 1u);
        EXPECT_EQ(second.queue.restored(), 3u);
        EXPECT_TRUE(second.queue.commit());  // the unreadable row goes with the next write
    }
    Process third(directory.path());
    EXPECT_EQ(third.waiting(), (std::vector<std::string>{"a", "c"}));
    EXPECT_EQ(third.queue.drops().unreadable, 0u);
}

// A database that cannot be read, or that another key sealed, is set aside
// whole and a fresh one takes its place.
TEST(SqliteOutbox, ADamagedDatabaseIsMovedAsideAndAFreshOneStarted) {
    struct Case {
        const char* name;
        std::function<void(const fs::path&)> damage;
        unsigned char keyFill;
    };
    const Case cases[] = {
        {"not a database",
         [](const fs::path& directory) {
             std::ofstream(directory / SqliteOutbox::kFileName, std::ios::binary | std::ios::trunc)
                 << std::string(8192, 'z');
         },
         7},
        {"sealed under another key", [](const fs::path&) {}, 9},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        testing::ScopedLogs logs;
        testing::TempDir directory;
        {
            Process first(directory.path());
            first.queue.addEvent(report("old"));
            ASSERT_TRUE(first.queue.commit());
        }
        c.damage(directory.path());
        {
            Process second(directory.path(), c.keyFill);
            EXPECT_TRUE(second.waiting().empty());
            EXPECT_TRUE(second.queue.isDurable());
            second.queue.addEvent(report("new"));
            EXPECT_TRUE(second.queue.commit());
            EXPECT_TRUE(second.sink->mentions("moved aside as outbox.sqlite.corrupt-"));
        }
        EXPECT_TRUE(anyFileStartingWith(directory.path(), "outbox.sqlite.corrupt-"));
        Process third(directory.path(), c.keyFill);
        EXPECT_EQ(third.waiting(), std::vector<std::string>{"new"});
    }
}

// A directory that cannot take the outbox, or a disk that fills up: the
// queue keeps to memory, says so once, and loses nothing it holds.
TEST(SqliteOutbox, StorageThatCannotBeWrittenFallsBackToMemory) {
    testing::ScopedLogs logs;
    {
        testing::TempDir directory;
        const auto notADirectory = directory.path() / "file";
        std::ofstream(notADirectory) << "in the way";
        Process process(notADirectory);
        process.queue.addEvent(report("a"));
        EXPECT_FALSE(process.queue.isDurable());
        EXPECT_EQ(process.waiting(), std::vector<std::string>{"a"});
        EXPECT_TRUE(process.sink->mentions("Outbox unavailable"));
    }
    {
        testing::TempDir directory;
        Process process(directory.path(), 7, /*maxPages=*/8);
        process.queue.addEvent(report("fits"));
        ASSERT_TRUE(process.queue.commit());
        for (int i = 0; i < 200; ++i) process.queue.addEvent(report(std::string(200, 'x') + std::to_string(i)));
        EXPECT_FALSE(process.queue.commit()) << "the database is full";
        EXPECT_FALSE(process.queue.isDurable());
        EXPECT_EQ(process.queue.count(), 201u) << "nothing held in memory is lost";
        EXPECT_TRUE(process.sink->mentions("Outbox unavailable"));
        EXPECT_TRUE(process.sink->mentions("database or disk is full")) << "the line says why";
        process.queue.addEvent(report("later"));
        EXPECT_TRUE(process.queue.commit()) << "in memory, there is nothing to write";
    }
}

}  // namespace
}  // namespace quarra
