// When the outbox on disk is written: a fresh report before it is sent (a
// crash must not lose it), an accepted one's removal a little later, one
// write for all the answers in that time.
#include <gtest/gtest.h>

#include "EngineHarness.hpp"
#include "credentials/SqliteHandle.hpp"
#include "queue/SqliteOutbox.hpp"

namespace quarra {
namespace {

using namespace std::chrono_literals;
using testing::EngineHarness;

// The rows another process would find in the outbox now.
int64_t rowsOnDisk(EngineHarness& h) {
    std::string error;
    auto db = SqliteConnection::open(h.directory.path() / "data" / SqliteOutbox::kFileName, error);
    if (!db) return -1;
    auto count = db->prepare("SELECT count(*) FROM outbox");
    if (!count || count->step() != SQLITE_ROW) return -1;
    return count->integerColumn(0);
}

TEST(OutboxWrites, AcceptedReportsLeaveTheDiskTogetherALittleLater) {
    EngineHarness h(/*manual=*/true);
    h.startSession();
    constexpr int kReports = 5;
    int accepted = 0;
    for (int i = 0; i < kReports; ++i) {
        h.service().sendUserEvents({{"n", std::to_string(i)}}, [&accepted](bool ok) { accepted += ok ? 1 : 0; });
    }
    h.manualQueue->runUntilIdle();
    EXPECT_EQ(rowsOnDisk(h), kReports) << "written ahead of the send";
    EXPECT_EQ(h.http->requestCount(), static_cast<size_t>(kReports));

    h.settle();
    ASSERT_EQ(accepted, kReports);
    EXPECT_EQ(rowsOnDisk(h), kReports) << "no write per answer";

    h.manualQueue->advance(99ms);
    EXPECT_EQ(rowsOnDisk(h), kReports);
    h.manualQueue->advance(1ms);
    EXPECT_EQ(rowsOnDisk(h), 0) << "one write took them all";
}

TEST(OutboxWrites, AShutdownWritesThePendingRemovalsBeforeItReturns) {
    EngineHarness h(/*manual=*/false);
    h.startSession();
    testing::Box<bool> answered;
    h.service().sendUserEvents({{"n", "1"}}, [&answered](bool ok) { answered.set(ok); });
    ASSERT_TRUE(testing::eventually([&] { return h.network->pending() == 1; }));
    h.network->runUntilIdle();
    ASSERT_EQ(answered.waitFor(10s), true);
    ASSERT_TRUE(h.service().shutdown(10s));
    EXPECT_EQ(rowsOnDisk(h), 0) << "the next process would send it again";
}

}  // namespace
}  // namespace quarra
