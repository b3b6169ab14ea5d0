#pragma once
// The world cities table built into the library at build time.
#include <span>

namespace quarra {

// Empty when the build had no source data (see data/geo/).
std::span<const unsigned char> embeddedGeoTable();

}  // namespace quarra
