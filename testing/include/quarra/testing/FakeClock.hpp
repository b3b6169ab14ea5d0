#pragma once
// A clock that only moves when told to; for tests and simulations.
#include <atomic>

#include <quarra/Clock.hpp>

namespace quarra {

class FakeClock final : public Clock {
public:
    explicit FakeClock(TimePoint start = TimePoint(std::chrono::seconds(1'700'000'000))) : now_(start) {}
    TimePoint now() const override { return now_.load(); }
    void set(TimePoint when) { now_.store(when); }
    void advance(std::chrono::milliseconds by) { now_.store(now_.load() + by); }

private:
    std::atomic<TimePoint> now_;
};

}  // namespace quarra
