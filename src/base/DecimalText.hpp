#pragma once
#include <string>

namespace quarra {

// The shortest decimal text that reads back to the same double, with at least
// one digit after the point: 0.0, 12.5, -122.0, 77.2167.
std::string shortestDecimal(double value);

}  // namespace quarra
