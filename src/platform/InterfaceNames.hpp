#pragma once
// The network interfaces whose addresses the initiate call may report.
#include <string>
#include <vector>

namespace quarra {

// Names of the interfaces that are up and are not loopback, each once, in the
// order the system lists them. Empty when the list cannot be read.
std::vector<std::string> activeInterfaceNames();

}  // namespace quarra
