// Any bytes as an error answer ({"ResponseCode", "ResponseText"}): decoding
// must never crash or throw; an error that decodes must survive its own JSON
// text, and its description must be UTF-8 with every control character
// escaped, as it goes to the console and the journal.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzSupport.hpp"
#include "transport/APIError.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace quarra;
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    auto error = APIError::fromJSON(text, "userEvents");
    if (!error) return 0;
    const std::string json = error->jsonText();
    if (json.empty()) __builtin_trap();
    if (APIError::fromJSON(json, error->apiName) != error) __builtin_trap();

    const std::string description = error->description();
    if (!fuzzing::wellFormedUtf8(description)) __builtin_trap();
    for (unsigned char c : description) {
        if (c < 0x20 || c == 0x7f) __builtin_trap();
    }
    return 0;
}
