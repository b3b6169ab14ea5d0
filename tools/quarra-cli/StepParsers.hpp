#pragma once
// One reader per kind of step; each reads its own keys from the step object.
#include <functional>
#include <map>
#include <string>

#include "FieldReader.hpp"
#include "Scenario.hpp"

namespace quarra::cli {

using StepParser = std::function<StepAction(FieldReader& fields, const ScenarioRules& rules)>;

// Sessions, network, reports, switches and waits.
const std::map<std::string, StepParser>& sessionStepParsers();
// The four transaction operations, arguments by their labels.
const std::map<std::string, StepParser>& transactionStepParsers();
// Typing, taps, pickers and screens played through the tracking controls.
const std::map<std::string, StepParser>& trackingStepParsers();

// The optional "timeoutMs" of a step that waits.
Milliseconds stepTimeout(FieldReader& fields);

// The longest wait a step may ask for: an hour, longer is surely a typo.
inline constexpr int64_t kLongestWaitMs = 3'600'000;

}  // namespace quarra::cli
