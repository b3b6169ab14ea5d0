#pragma once
// UTF-8 validity, for keys (item accounts) and string values.
#include <string_view>

namespace quarra {

bool isValidUtf8(std::string_view text);

}  // namespace quarra
