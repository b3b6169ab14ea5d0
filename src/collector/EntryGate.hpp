#pragma once
// Lets host calls into the library until it shuts down, and lets the
// shutdown wait for the calls that are already inside (they are only posting
// work). Any thread; enter() never blocks.
#include <atomic>
#include <thread>

namespace quarra {

class EntryGate {
public:
    // True when the call may go on; it must then call leave().
    bool enter() {
        inside_.fetch_add(1);
        if (!closed_.load()) return true;
        leave();
        return false;
    }
    void leave() { inside_.fetch_sub(1); }

    // Closes the gate and waits until no call is inside.
    void close() {
        closed_.store(true);
        while (inside_.load() > 0) std::this_thread::yield();
    }
    bool isClosed() const { return closed_.load(); }

    // Holds the gate open for one call: `if (EntryGate::Pass pass{gate}; pass) ...`.
    class Pass {
    public:
        explicit Pass(EntryGate& gate) : gate_(gate), entered_(gate.enter()) {}
        ~Pass() {
            if (entered_) gate_.leave();
        }
        Pass(const Pass&) = delete;
        Pass& operator=(const Pass&) = delete;
        explicit operator bool() const { return entered_; }

    private:
        EntryGate& gate_;
        bool entered_;
    };

private:
    std::atomic<bool> closed_{false};
    std::atomic<long> inside_{0};
};

}  // namespace quarra
