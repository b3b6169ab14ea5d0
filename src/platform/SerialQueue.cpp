// A serial queue on its own named thread, with timers.
#include <pthread.h>

#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>

#include <quarra/Executor.hpp>

namespace quarra {
namespace {

// Shared by the queue and its thread, so a task may drop the last owner of
// its own queue: the thread then finishes with state it still holds.
struct QueueState {
    struct Key {
        std::chrono::steady_clock::time_point due;
        unsigned long long sequence;
        bool operator<(const Key& other) const {
            return due != other.due ? due < other.due : sequence < other.sequence;
        }
    };

    std::mutex mutex;
    std::condition_variable wake;
    std::map<Key, Executor::Task> tasks;
    unsigned long long sequence = 0;
    bool stopping = false;
};

void runQueue(const std::shared_ptr<QueueState>& state, const std::string& name) {
    pthread_setname_np(pthread_self(), name.substr(0, 15).c_str());
    std::unique_lock lock(state->mutex);
    for (;;) {
        if (state->tasks.empty()) {
            if (state->stopping) return;
            state->wake.wait(lock);
            continue;
        }
        auto first = state->tasks.begin();
        if (first->first.due > std::chrono::steady_clock::now()) {
            if (state->stopping) return;  // pending timers are dropped on shutdown
            state->wake.wait_until(lock, first->first.due);
            continue;
        }
        Executor::Task task = std::move(first->second);
        state->tasks.erase(first);
        lock.unlock();
        task();
        task = nullptr;  // release captures outside the lock
        lock.lock();
    }
}

class SerialQueue final : public Executor {
public:
    explicit SerialQueue(const std::string& name)
        : state_(std::make_shared<QueueState>()), thread_([state = state_, name] { runQueue(state, name); }) {}

    ~SerialQueue() override {
        {
            std::lock_guard lock(state_->mutex);
            state_->stopping = true;
        }
        state_->wake.notify_all();
        if (thread_.get_id() == std::this_thread::get_id()) {
            thread_.detach();  // the last owner let go from inside a task
        } else {
            thread_.join();
        }
    }

    void post(Task task) override { postAfter(std::chrono::milliseconds(0), std::move(task)); }

    void postAfter(std::chrono::milliseconds delay, Task task) override {
        {
            std::lock_guard lock(state_->mutex);
            if (state_->stopping) return;
            // The sequence number keeps tasks due at the same instant in posting order.
            state_->tasks.emplace(QueueState::Key{std::chrono::steady_clock::now() + delay, state_->sequence++},
                                  std::move(task));
        }
        state_->wake.notify_one();
    }

private:
    std::shared_ptr<QueueState> state_;
    std::thread thread_;
};

}  // namespace

std::shared_ptr<Executor> makeSerialQueue(const std::string& name) { return std::make_shared<SerialQueue>(name); }

}  // namespace quarra
