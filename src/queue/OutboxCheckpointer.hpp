#pragma once
// Folds the outbox's write-ahead log into its database on a thread of its own
// ("quarra-outbox"). A checkpoint syncs the log and the database to disk, which
// can take tens of milliseconds or more on a busy disk; on the worker that
// would hold up every answer and completion behind it.
//
// The thread starts on the first request and only ever checkpoints, through a
// connection of its own. Requests while one runs make one more run after it.
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <mutex>
#include <thread>

namespace quarra {

class OutboxCheckpointer {
public:
    explicit OutboxCheckpointer(std::filesystem::path database);
    // Lets a checkpoint under way end, then joins the thread.
    ~OutboxCheckpointer();
    OutboxCheckpointer(const OutboxCheckpointer&) = delete;
    OutboxCheckpointer& operator=(const OutboxCheckpointer&) = delete;

    // Asks for a checkpoint and returns at once. Any thread.
    void request();

    // Checkpoints ended so far (done or not possible this time).
    uint64_t runs() const;
    // Waits until no checkpoint is asked for or under way; false at the time-out. For tests.
    bool waitUntilIdle(std::chrono::milliseconds timeout) const;

private:
    void run();

    const std::filesystem::path database_;
    mutable std::mutex mutex_;
    std::condition_variable wanted_;
    mutable std::condition_variable ran_;
    bool requested_ = false;
    bool running_ = false;
    bool stopping_ = false;
    uint64_t runs_ = 0;
    std::thread thread_;
};

}  // namespace quarra
