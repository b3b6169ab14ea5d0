#include "base/DecimalText.hpp"

#include <array>
#include <charconv>
#include <cmath>

namespace quarra {

std::string shortestDecimal(double value) {
    if (std::isnan(value)) return "nan";
    if (std::isinf(value)) return value > 0 ? "inf" : "-inf";
    std::array<char, 64> buffer{};
    // Plain notation up to 2^53 keeps whole numbers readable ("1000000.0");
    // beyond that the general form is shorter and still exact.
    auto format = std::fabs(value) < 9007199254740992.0 && (value == 0 || std::fabs(value) >= 1e-4)
                      ? std::chars_format::fixed
                      : std::chars_format::general;
    auto [end, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, format);
    std::string text(buffer.data(), ec == std::errc() ? end : buffer.data());
    if (text.find_first_of(".e") == std::string::npos) text += ".0";
    return text;
}

}  // namespace quarra
