#pragma once
// The one JSON line per step that quarra-cli writes to standard output.
#include <cstdio>

#include "Scenario.hpp"
#include "StepRunner.hpp"

namespace quarra::cli {

// {"step": number, "do": name, "result": ..., "ms": elapsed} and, for a step
// that gave up waiting, "timedOut": true. Flushed at once, so a reader sees
// each step as it ends.
void writeStepLine(std::FILE* out, const Step& step, const StepOutcome& outcome, Milliseconds elapsed);

}  // namespace quarra::cli
