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

// The optional "timeoutMs" of a step that waits.
Milliseconds stepTimeout(FieldReader& fields);

}  // namespace quarra::cli
