// Any bytes as a diagnostic message, through the scrubber that every log
// record passes: it must never crash, UTF-8 in must give UTF-8 out, and
// credentials planted in the message where the scrubber promises to find
// them (under a secret key at any depth, after "Basic " or "Bearer ") must
// not survive, whatever the fuzzer's bytes around them.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzSupport.hpp"
#include "base/JsonText.hpp"
#include "logging/SecretScrubber.hpp"

namespace {

// Credential-like (long, with digits), so that the scheme rule takes them too.
constexpr std::string_view kPlanted[] = {"Zq7Xk2Wm9Pv4Rt8Ln3H1", "Zq7Xk2Wm9Pv4Rt8Ln3H2", "Zq7Xk2Wm9Pv4Rt8Ln3H3",
                                         "Zq7Xk2Wm9Pv4Rt8Ln3H4", "Zq7Xk2Wm9Pv4Rt8Ln3H5", "Zq7Xk2Wm9Pv4Rt8Ln3H6"};
constexpr std::string_view kFamily = "Zq7Xk2Wm9Pv4Rt8Ln3H";

bool leaks(const std::string& scrubbed) {
    for (auto secret : kPlanted) {
        if (scrubbed.find(secret) != std::string::npos) return true;
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace quarra;
    const std::string message(reinterpret_cast<const char*>(data), size);

    const std::string scrubbed = withoutSecrets(message);
    if (fuzzing::wellFormedUtf8(message) && !fuzzing::wellFormedUtf8(scrubbed)) __builtin_trap();

    // The fuzzer's own bytes may spell a planted value; then it may stay.
    if (message.find(kFamily) != std::string::npos) return 0;

    // A header line after whatever text came before.
    const std::string header = message + " Authorization: Bearer " + std::string(kPlanted[0]);
    if (leaks(withoutSecrets(header))) __builtin_trap();

    // A JSON document around the fuzzer's value (or its text), compact or pretty.
    JSONDictionary payload = parseJSON(message).value_or(JSONDictionary(message));
    if (payload.is_object()) payload["Secret"] = kPlanted[1];
    if (payload.is_array()) payload.push_back({{"password", kPlanted[2]}});
    JSONDictionary document = {
        {"payload", payload},
        {"refresh_token", kPlanted[3]},
        {"nested", JSONDictionary::array({{{"SecretKey", {{"inner", kPlanted[4]}}}}})},
        {"header", "Authorization: Basic " + std::string(kPlanted[5])},
    };
    const int indent = size % 2 == 0 ? -1 : 2;
    const std::string text = document.dump(indent, ' ', false, JSONDictionary::error_handler_t::replace);
    if (!parseJSON(text)) return 0;  // the message is no JSON document to speak of
    const std::string scrubbedDocument = withoutSecrets(text);
    if (leaks(scrubbedDocument)) __builtin_trap();
    if (!fuzzing::wellFormedUtf8(scrubbedDocument)) __builtin_trap();
    return 0;
}
