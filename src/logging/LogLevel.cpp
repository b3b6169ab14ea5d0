#include "logging/LogLevel.hpp"

namespace quarra {

bool logLevelAllows(std::optional<int64_t> level, std::string_view type) {
    if (!level) return false;
    if (type == kErrorRecord) return *level >= 0 && *level <= 2;
    if (type == kRequestRecord || type == kResponseRecord) return *level == 2;
    return false;
}

}  // namespace quarra
