#include "base/Utf8Text.hpp"

#include <nlohmann/json.hpp>

namespace quarra {

bool isValidUtf8(std::string_view text) {
    // The JSON library's strict serialiser rejects exactly the ill-formed
    // sequences (overlongs, surrogates, truncations, out-of-range code points).
    try {
        (void)nlohmann::json(std::string(text)).dump();
        return true;
    } catch (const nlohmann::json::type_error&) {
        return false;
    }
}

}  // namespace quarra
