// Flush, shutdown and the stop at the process exit.
#include <condition_variable>
#include <mutex>

#include "collector/Engine.hpp"
#include "device/IioAccelerometerSource.hpp"
#include "platform/CurlHttpClient.hpp"
#include "platform/SerialQueue.hpp"

namespace quarra {
namespace {

// Set once from the worker; waited for by a host thread.
class Signal {
public:
    void set() {
        {
            std::lock_guard lock(mutex_);
            set_ = true;
        }
        changed_.notify_all();
    }
    bool waitFor(std::chrono::milliseconds timeout) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, timeout, [this] { return set_; });
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool set_ = false;
};

// A thread that does not end within this (a host completion that never
// returns) is left to end by itself.
constexpr std::chrono::milliseconds kJoinLimit{1000};

}  // namespace

bool Engine::flush(std::chrono::milliseconds timeout) {
    if (onLibraryThread()) {
        console->log("flush() was called on a library thread; it returns at once");
        return false;
    }
    if (stopped_.load()) return true;  // everything has had its answer
    auto settled = std::make_shared<Signal>();
    // Weakly held: a task left on a worker that never runs it must not keep the collector alive.
    worker->post([weak = std::weak_ptr<CollectionService>(collector), inbox = std::weak_ptr<ReportInbox>(inbox),
                  settled] {
        // Reports still in the inbox were handed in before this call.
        if (auto reports = inbox.lock()) reports->drainAll();
        if (auto collector = weak.lock()) collector->whenSettled([settled] { settled->set(); });
    });
    return settled->waitFor(timeout);
}

bool Engine::shutdown(std::chrono::milliseconds timeout) {
    if (onLibraryThread()) {
        console->log("shutdown() was called on a library thread; it returns at once");
        return false;
    }
    std::lock_guard lifecycle(lifecycleMutex_);
    if (stopped_.load()) return true;
    gate_.close();
    const bool flushed = flush(timeout);
    stopThreads(true);
    return flushed;
}

void Engine::stopAtExit() {
    std::unique_lock lifecycle(lifecycleMutex_, std::try_to_lock);
    if (stopped_.load()) return;
    stopThreads(false);
}

void Engine::stopThreads(bool drain) {
    if (stopped_.exchange(true)) return;
    // Nothing new starts: no sign-in again, no path changes, no polls, no samples.
    sessionStart->stop();
    monitor->cancel();
    motion->stopUpdates();
    if (ownAccelerometer_) ownAccelerometer_->stopAccelerometerUpdates();
    if (drain) {
        // Requests on the wire end as "cancelled"; their answers reach the
        // worker, which then runs what is left, timers early, and ends.
        if (ownHttp_) ownHttp_->shutdown();
        if (ownWorker_) ownWorker_->stop(SerialQueue::StopMode::drain, kJoinLimit);
        if (ownMain_) ownMain_->stop(SerialQueue::StopMode::drain, kJoinLimit);
        queue.stopBackgroundWork();
        return;
    }
    // At exit nothing more runs: the worker first, so that the cancelled
    // requests find no one to hand their answers to.
    if (ownWorker_) ownWorker_->stop(SerialQueue::StopMode::drop, kJoinLimit);
    if (ownMain_) ownMain_->stop(SerialQueue::StopMode::drop, kJoinLimit);
    if (ownHttp_) ownHttp_->shutdown();
}

}  // namespace quarra
