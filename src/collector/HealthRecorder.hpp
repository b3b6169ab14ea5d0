#pragma once
// What the health snapshot tells beyond the counts: the last error, the time
// of the last accepted report, and the state of the session. Any thread;
// console lines are written with no lock held.
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include <quarra/Clock.hpp>
#include <quarra/DataCollectorService.hpp>

#include "base/ConsoleLog.hpp"
#include "transport/APIError.hpp"

namespace quarra {

class HealthRecorder {
public:
    using Health = DataCollectorService::Health;

    HealthRecorder(std::shared_ptr<Clock> clock, std::shared_ptr<Console> console)
        : clock_(std::move(clock)), console_(std::move(console)) {}

    // A failed call: it becomes the last error, and one console line says
    // what failed (the sign-in step, the report's API name, the log upload)
    // with the HTTP status or the transport's reason.
    void failed(const std::string& operation, const APIError& error);
    void accepted();
    void session(Health::Session state);

    // Fills in the last error, the last acceptance and the session state.
    void fill(Health& health) const;

private:
    std::shared_ptr<Clock> clock_;
    std::shared_ptr<Console> console_;
    mutable std::mutex mutex_;  // guards the three below
    std::optional<Health::Error> lastError_;
    std::optional<Clock::TimePoint> lastAccepted_;
    Health::Session session_ = Health::Session::none;
};

}  // namespace quarra
