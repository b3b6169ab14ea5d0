#pragma once
// Whether a text can be sent to as it stands.
#include <string>

namespace quarra {

// True for an absolute http or https URL with a host that the URL parser
// accepts unchanged (no blanks, no control characters, a valid port).
bool isValidURL(const std::string& text);

}  // namespace quarra
