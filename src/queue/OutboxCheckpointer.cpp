#include "queue/OutboxCheckpointer.hpp"

#include <pthread.h>

#include <memory>
#include <string>

#include "credentials/SqliteHandle.hpp"

namespace quarra {

OutboxCheckpointer::OutboxCheckpointer(std::filesystem::path database) : database_(std::move(database)) {}

OutboxCheckpointer::~OutboxCheckpointer() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wanted_.notify_one();
    if (thread_.joinable()) thread_.join();
}

void OutboxCheckpointer::request() {
    {
        std::lock_guard lock(mutex_);
        if (stopping_) return;
        if (!thread_.joinable()) thread_ = std::thread([this] { run(); });
        requested_ = true;
    }
    wanted_.notify_one();
}

uint64_t OutboxCheckpointer::runs() const {
    std::lock_guard lock(mutex_);
    return runs_;
}

bool OutboxCheckpointer::waitUntilIdle(std::chrono::milliseconds timeout) const {
    std::unique_lock lock(mutex_);
    return ran_.wait_for(lock, timeout, [this] { return !requested_ && !running_; });
}

void OutboxCheckpointer::run() {
    pthread_setname_np(pthread_self(), "quarra-outbox");
    std::unique_ptr<SqliteConnection> db;
    for (;;) {
        {
            std::unique_lock lock(mutex_);
            wanted_.wait(lock, [this] { return requested_ || stopping_; });
            if (stopping_) break;
            requested_ = false;
            running_ = true;
        }
        if (!db) {
            std::string error;
            db = SqliteConnection::open(database_, error);
            // A first read opens the log, so that the checkpoint sees it.
            if (db && !db->execute("PRAGMA schema_version")) db.reset();
        }
        // One that cannot run now (the file is gone, the disk is failing) is
        // tried again on the next request; the writer keeps a hard bound.
        if (db && !db->checkpoint()) db.reset();
        {
            std::lock_guard lock(mutex_);
            running_ = false;
            ++runs_;
        }
        ran_.notify_all();
    }
}

}  // namespace quarra
