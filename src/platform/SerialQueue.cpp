#include "platform/SerialQueue.hpp"

#include <pthread.h>

#include <condition_variable>
#include <map>

namespace quarra {

// Shared by the queue and its thread, so a task may drop the last owner of
// its own queue: the thread then finishes with state it still holds.
struct SerialQueue::State {
    struct Key {
        std::chrono::steady_clock::time_point due;
        unsigned long long sequence;
        bool operator<(const Key& other) const {
            return due != other.due ? due < other.due : sequence < other.sequence;
        }
    };
    enum class Phase { running, finishing, draining, dropping };

    std::mutex mutex;
    std::condition_variable wake;
    std::condition_variable ended;
    std::map<Key, Task> tasks;
    unsigned long long sequence = 0;
    Phase phase = Phase::running;
    bool sleeping = false;  // the thread waits on `wake`
    bool finished = false;  // the thread has left its loop
};

namespace {

using State = SerialQueue::State;

void runGuarded(Executor::Task& task) {
    try {
        task();
    } catch (...) {
        // A throwing task must not take the queue down with it.
    }
}

void runQueue(const std::shared_ptr<State>& state, const std::string& name) {
    pthread_setname_np(pthread_self(), name.substr(0, 15).c_str());
    std::unique_lock lock(state->mutex);
    std::size_t drained = 0;
    for (;;) {
        if (state->phase == State::Phase::dropping) break;
        if (state->tasks.empty()) {
            if (state->phase != State::Phase::running) break;
            state->sleeping = true;
            state->wake.wait(lock);
            state->sleeping = false;
            continue;
        }
        auto first = state->tasks.begin();
        const bool early = first->first.due > std::chrono::steady_clock::now();
        if (early && state->phase == State::Phase::finishing) break;
        if (early && state->phase == State::Phase::running) {
            state->sleeping = true;
            state->wake.wait_until(lock, first->first.due);
            state->sleeping = false;
            continue;
        }
        // A drain runs timers early; a task that keeps posting cannot hold it forever.
        if (state->phase == State::Phase::draining && ++drained > SerialQueue::kMaxDrainedTasks) break;
        Executor::Task task = std::move(first->second);
        state->tasks.erase(first);
        lock.unlock();
        runGuarded(task);
        task = nullptr;  // release captures outside the lock
        lock.lock();
    }
    auto left = std::move(state->tasks);
    state->tasks.clear();
    state->finished = true;
    lock.unlock();
    left.clear();  // captures are released on this thread, with no lock held
    state->ended.notify_all();
}

}  // namespace

SerialQueue::SerialQueue(std::string name)
    : state_(std::make_shared<State>()), thread_([state = state_, name = std::move(name)] { runQueue(state, name); }) {
    threadId_ = thread_.get_id();
}

SerialQueue::~SerialQueue() {
    stop(StopMode::finishDue);
    if (thread_.joinable()) thread_.detach();  // let go from inside one of its own tasks
}

void SerialQueue::post(Task task) { postAfter(std::chrono::milliseconds(0), std::move(task)); }

void SerialQueue::postAfter(std::chrono::milliseconds delay, Task task) {
    bool wake = false;
    {
        std::lock_guard lock(state_->mutex);
        if (state_->finished || state_->phase == State::Phase::dropping) {
            // Dropped, and released outside the lock.
        } else {
            // The sequence number keeps tasks due at the same instant in posting order.
            const State::Key key{std::chrono::steady_clock::now() + delay, state_->sequence++};
            const bool first = state_->tasks.empty() || key < state_->tasks.begin()->first;
            state_->tasks.emplace(key, std::move(task));
            // Only a sleeping thread needs a wake, and only when its next task changed.
            wake = state_->sleeping && first;
        }
    }
    if (wake) state_->wake.notify_one();
}

void SerialQueue::stop(StopMode mode, std::chrono::milliseconds joinLimit) {
    {
        std::lock_guard lock(state_->mutex);
        if (mode == StopMode::drop) {
            state_->phase = State::Phase::dropping;
        } else if (state_->phase == State::Phase::running) {
            state_->phase = mode == StopMode::drain ? State::Phase::draining : State::Phase::finishing;
        }
    }
    state_->wake.notify_all();
    if (isCurrentThread()) return;
    bool finished = false;
    {
        std::unique_lock lock(state_->mutex);
        finished = state_->ended.wait_for(lock, joinLimit, [this] { return state_->finished; });
    }
    // Only one caller joins; the thread never touches `thread_` itself.
    std::lock_guard joining(joinMutex_);
    if (!thread_.joinable()) return;
    if (finished) {
        thread_.join();
    } else {
        thread_.detach();  // a task that never returns: the thread ends when it does
    }
}

std::shared_ptr<Executor> makeSerialQueue(const std::string& name) { return std::make_shared<SerialQueue>(name); }

}  // namespace quarra
