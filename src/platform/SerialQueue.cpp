#include "platform/SerialQueue.hpp"

#include <pthread.h>

#include <condition_variable>
#include <deque>
#include <map>
#include <optional>

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
    // Tasks to run as soon as the thread gets to them, in posting order: no
    // clock read and no tree node per post, the common case by far.
    std::deque<Task> ready;
    std::map<Key, Task> timers;
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

// The next task to run, or nothing when none may run now. A timer whose time
// has come goes before the ready tasks, so a stream of posts cannot hold it
// back; a drain takes the ready tasks first and then every timer.
std::optional<Executor::Task> takeNext(State& state) {
    auto takeFirstTimer = [&state] {
        auto first = state.timers.begin();
        Executor::Task task = std::move(first->second);
        state.timers.erase(first);
        return task;
    };
    const bool draining = state.phase == State::Phase::draining;
    if (!state.timers.empty() && !draining && state.timers.begin()->first.due <= std::chrono::steady_clock::now()) {
        return takeFirstTimer();
    }
    if (!state.ready.empty()) {
        Executor::Task task = std::move(state.ready.front());
        state.ready.pop_front();
        return task;
    }
    if (draining && !state.timers.empty()) return takeFirstTimer();
    return std::nullopt;
}

void runQueue(const std::shared_ptr<State>& state, const std::string& name) {
    pthread_setname_np(pthread_self(), name.substr(0, 15).c_str());
    std::unique_lock lock(state->mutex);
    std::size_t drained = 0;
    for (;;) {
        if (state->phase == State::Phase::dropping) break;
        auto task = takeNext(*state);
        if (!task) {
            // Nothing may run now: only timers still to come, or nothing at all.
            if (state->phase != State::Phase::running) break;
            state->sleeping = true;
            if (state->timers.empty()) {
                state->wake.wait(lock);
            } else {
                state->wake.wait_until(lock, state->timers.begin()->first.due);
            }
            state->sleeping = false;
            continue;
        }
        // A drain runs timers early; a task that keeps posting cannot hold it forever.
        if (state->phase == State::Phase::draining && ++drained > SerialQueue::kMaxDrainedTasks) break;
        lock.unlock();
        runGuarded(*task);
        task.reset();  // release captures outside the lock
        lock.lock();
    }
    auto ready = std::move(state->ready);
    auto timers = std::move(state->timers);
    state->ready.clear();
    state->timers.clear();
    state->finished = true;
    lock.unlock();
    // Captures are released on this thread, with no lock held.
    ready.clear();
    timers.clear();
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

void SerialQueue::post(Task task) {
    bool wake = false;
    {
        std::lock_guard lock(state_->mutex);
        if (state_->finished || state_->phase == State::Phase::dropping) {
            // Dropped, and released outside the lock.
        } else {
            // Only a sleeping thread needs a wake, and one wake serves a batch.
            wake = state_->sleeping && state_->ready.empty();
            state_->ready.push_back(std::move(task));
            task = nullptr;
        }
    }
    if (wake) state_->wake.notify_one();
}

void SerialQueue::postAfter(std::chrono::milliseconds delay, Task task) {
    if (delay <= std::chrono::milliseconds(0)) {
        post(std::move(task));
        return;
    }
    bool wake = false;
    {
        std::lock_guard lock(state_->mutex);
        if (state_->finished || state_->phase == State::Phase::dropping) {
            // Dropped, and released outside the lock.
        } else {
            // The sequence number keeps timers due at the same instant in posting order.
            const State::Key key{std::chrono::steady_clock::now() + delay, state_->sequence++};
            const bool first = state_->timers.empty() || key < state_->timers.begin()->first;
            state_->timers.emplace(key, std::move(task));
            // Only a sleeping thread needs a wake, and only when its next timer changed.
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
