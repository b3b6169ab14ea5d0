// The outbox's write-ahead log is folded into the database as it grows: off
// the writing thread when there is a checkpoint thread, by the writer when not.
// On real files.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "credentials/StoreKey.hpp"
#include "queue/SqliteOutbox.hpp"
#include "support/TempDir.hpp"

namespace quarra {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr int kCheckpointPages = 16;
constexpr uint64_t kPageSize = 4096;
constexpr uint64_t kFrameSize = kPageSize + 24;  // each page in the log carries a frame header

uint64_t logPagesOnDisk(const fs::path& database) {
    std::error_code error;
    const auto size = fs::file_size(database.string() + "-wal", error);
    return error ? 0 : size / kFrameSize;
}

SqliteOutbox::Settings settingsFor(const fs::path& directory, bool thread) {
    return SqliteOutbox::Settings{
        .directory = directory,
        .key = [] { return keyFromHost(std::vector<unsigned char>(StoreKey::kSize, 7)); },
        .checkpointPages = kCheckpointPages,
        .checkpointHardBound = 1'000'000,
        .checkpointThread = thread,
    };
}

TEST(OutboxCheckpoint, TheLogStaysBoundedAndEveryRowSurvivesWhoeverFoldsIt) {
    struct Case {
        const char* name;
        bool thread;
        bool stoppedAtOnce;  // as at shutdown
    };
    for (const Case& c : {Case{"on its own thread", true, false}, Case{"by the writer", false, false},
                          Case{"by the writer once the thread has stopped", true, true}}) {
        SCOPED_TRACE(c.name);
        testing::TempDir directory;
        constexpr int kBatches = 60;
        constexpr int kRowsPerBatch = 4;
        const std::string text(3000, 'x');  // about a page per row
        uint64_t largestLog = 0;
        {
            SqliteOutbox outbox(settingsFor(directory.path(), c.thread));
            ASSERT_FALSE(outbox.load().problem);
            if (c.stoppedAtOnce) outbox.releaseBackgroundWork();  // dropped at once: joined
            const bool threaded = c.thread && !c.stoppedAtOnce;
            EXPECT_EQ(outbox.checkpointer() != nullptr, threaded);
            uint64_t id = 0;
            for (int batch = 0; batch < kBatches; ++batch) {
                // As the queue does: this batch goes in, the one before it was delivered.
                for (int row = 0; row < kRowsPerBatch; ++row) {
                    ++id;
                    outbox.stagePut(id, text + std::to_string(id));
                    if (batch > 0) outbox.stageErase(id - kRowsPerBatch);
                }
                ASSERT_FALSE(outbox.commit().problem);
                if (threaded) {
                    ASSERT_TRUE(outbox.checkpointer()->waitUntilIdle(10s));
                }
                largestLog = std::max(largestLog, logPagesOnDisk(directory.path() / SqliteOutbox::kFileName));
            }
            if (threaded) {
                EXPECT_GT(outbox.checkpointer()->runs(), 0u);
            }
        }
        // Left alone, the log would hold every page ever written: several hundred.
        EXPECT_GT(largestLog, 0u);
        EXPECT_LE(largestLog, uint64_t{kCheckpointPages} * 2);

        SqliteOutbox reopened(settingsFor(directory.path(), c.thread));
        const auto loaded = reopened.load();
        ASSERT_FALSE(loaded.problem);
        ASSERT_EQ(loaded.rows.size(), size_t{kRowsPerBatch});
        for (int row = 0; row < kRowsPerBatch; ++row) {
            const uint64_t id = (kBatches - 1) * kRowsPerBatch + row + 1;
            EXPECT_EQ(loaded.rows[row].id, id);
            EXPECT_EQ(loaded.rows[row].text, text + std::to_string(id));
        }
    }
}

}  // namespace
}  // namespace quarra
