#include <quarra/Version.hpp>

namespace quarra {

// Compiled into the library, so a host linked against a newer shared library
// sees that library's version rather than its headers'.
const char* versionString() noexcept { return QUARRA_VERSION_STRING; }

}  // namespace quarra
