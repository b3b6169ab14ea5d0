#pragma once
// How long steps wait.
#include <chrono>

namespace quarra::cli {

using Milliseconds = std::chrono::milliseconds;

// How long a step waits for its completion when the scenario does not say.
inline constexpr Milliseconds kDefaultStepTimeout{30000};

}  // namespace quarra::cli
