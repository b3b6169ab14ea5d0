#pragma once
// The library's console lines on standard error, so that standard output
// holds only the machine-readable step lines.
#include <memory>

#include <quarra/Console.hpp>

namespace quarra::cli {

std::shared_ptr<ConsoleSink> makeStderrConsole();

}  // namespace quarra::cli
