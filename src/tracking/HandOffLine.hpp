#pragma once
// What the controls hand to the report queue, waiting in one line. The host's
// thread moves the facts of a tap or an editing period in under a short lock,
// into storage the line reuses: no allocation for them, and one task (posted
// when the line was empty) drains a whole batch in the order it came.
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include <quarra/AccelerometerSource.hpp>
#include <quarra/Clock.hpp>
#include <quarra/tracking/ReportSender.hpp>
#include <quarra/tracking/Touch.hpp>

#include "base/ConsoleLog.hpp"
#include "tracking/FieldTrackingInformation.hpp"

namespace quarra {

// A tracked button's tap: its user event, and the accelerometer reading
// taken with it.
struct TapFacts {
    std::string action;
    std::string orientation;
    Clock::TimePoint now;
    double force = 0;
    ViewPoint position;
    std::optional<Acceleration> reading;
    std::weak_ptr<const char> control;  // the button's liveness token
    std::shared_ptr<const Console> console;

    void send(ReportSender& reports);  // on the report queue
};

// A tracked field's finished editing period.
struct FieldPeriodFacts {
    FieldTrackingInformation information;
    std::weak_ptr<const char> control;  // the field's liveness token
    std::shared_ptr<const Console> console;

    void send(ReportSender& reports);  // on the report queue
};

// Any other work for the sender.
using SenderWork = std::function<void(ReportSender&)>;

using HandOff = std::variant<SenderWork, TapFacts, FieldPeriodFacts>;

// Runs one hand-off with `reports`.
void sendHandOff(HandOff& handOff, ReportSender& reports);

class HandOffLine {
public:
    HandOffLine();
    // Any thread. True when the line was empty: the caller posts the one
    // task that drains it.
    bool push(HandOff handOff);
    // The report queue only (one drain at a time): sends everything waiting.
    void drain(ReportSender& reports);

private:
    std::mutex mutex_;
    std::vector<HandOff> waiting_;
    std::vector<HandOff> draining_;  // the drain's own; swapped with waiting_
};

}  // namespace quarra
