#pragma once
// The worker as host calls reach it: while the library runs, tasks go to the
// worker; once it has shut down they run at once on the calling thread, so
// that a call made then still gets its (failed) answer.
#include <memory>

#include <quarra/Executor.hpp>

#include "collector/EntryGate.hpp"

namespace quarra {

class GatedExecutor final : public Executor {
public:
    GatedExecutor(EntryGate& gate, std::shared_ptr<Executor> worker) : gate_(gate), worker_(std::move(worker)) {}

    void post(Task task) override {
        EntryGate::Pass pass(gate_);
        if (!pass) return task();
        worker_->post(std::move(task));
    }
    void postAfter(std::chrono::milliseconds delay, Task task) override {
        EntryGate::Pass pass(gate_);
        if (!pass) return task();
        worker_->postAfter(delay, std::move(task));
    }

private:
    EntryGate& gate_;
    std::shared_ptr<Executor> worker_;
};

}  // namespace quarra
