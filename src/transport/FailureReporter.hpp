#pragma once
// Where a failed call of the library's own (a sign-in step, a report) is told,
// so that the host's health snapshot shows the last error. `operation` names
// the call ("accessToken", "initiate", "collector"). Any thread.
#include <functional>
#include <string>

#include "transport/APIError.hpp"

namespace quarra {

using FailureReporter = std::function<void(const std::string& operation, const APIError& error)>;

}  // namespace quarra
