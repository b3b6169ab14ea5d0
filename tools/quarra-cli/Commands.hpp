#pragma once
// The two commands; each returns the process's exit code.
#include "Arguments.hpp"

namespace quarra::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitTimedOut = 1;  // run: a step gave up waiting; summary: the service did not answer
inline constexpr int kExitUsage = 2;     // a bad command line or a malformed scenario

int runScenario(const RunArguments& arguments);
int printSummary(const SummaryArguments& arguments);

// "quarra-cli: <message>" on standard error.
void complain(const std::string& message);

}  // namespace quarra::cli
