// A serial queue on its own named thread, with timers.
#include <pthread.h>

#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>

#include <quarra/Executor.hpp>

namespace quarra {
namespace {

class SerialQueue final : public Executor {
public:
    explicit SerialQueue(std::string name) : thread_([this, name = std::move(name)] { run(name); }) {}

    ~SerialQueue() override {
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        wake_.notify_all();
        if (thread_.get_id() == std::this_thread::get_id()) {
            thread_.detach();  // the last owner let go from inside a task
        } else {
            thread_.join();
        }
    }

    void post(Task task) override { postAfter(std::chrono::milliseconds(0), std::move(task)); }

    void postAfter(std::chrono::milliseconds delay, Task task) override {
        {
            std::lock_guard lock(mutex_);
            if (stopping_) return;
            // The sequence number keeps tasks due at the same instant in posting order.
            tasks_.emplace(Key{std::chrono::steady_clock::now() + delay, sequence_++}, std::move(task));
        }
        wake_.notify_one();
    }

private:
    struct Key {
        std::chrono::steady_clock::time_point due;
        unsigned long long sequence;
        bool operator<(const Key& other) const {
            return due != other.due ? due < other.due : sequence < other.sequence;
        }
    };

    void run(const std::string& name) {
        pthread_setname_np(pthread_self(), name.substr(0, 15).c_str());
        std::unique_lock lock(mutex_);
        for (;;) {
            if (tasks_.empty()) {
                if (stopping_) return;
                wake_.wait(lock);
                continue;
            }
            auto first = tasks_.begin();
            auto now = std::chrono::steady_clock::now();
            if (first->first.due > now) {
                if (stopping_) return;  // pending timers are dropped on shutdown
                wake_.wait_until(lock, first->first.due);
                continue;
            }
            Task task = std::move(first->second);
            tasks_.erase(first);
            lock.unlock();
            task();
            task = nullptr;  // release captures outside the lock
            lock.lock();
        }
    }

    std::mutex mutex_;
    std::condition_variable wake_;
    std::map<Key, Task> tasks_;
    unsigned long long sequence_ = 0;
    bool stopping_ = false;
    std::thread thread_;
};

}  // namespace

std::shared_ptr<Executor> makeSerialQueue(const std::string& name) { return std::make_shared<SerialQueue>(name); }

}  // namespace quarra
