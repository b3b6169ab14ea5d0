#include "tracking/TouchText.hpp"

#include <fmt/format.h>

#include "base/DecimalText.hpp"

namespace quarra {

std::string pointText(ViewPoint point) {
    return fmt::format("({}, {})", shortestDecimal(point.x), shortestDecimal(point.y));
}

std::string touchLine(double force, ViewPoint position, std::string_view orientation) {
    return fmt::format("TouchForce({}) TouchPosition{} DeviceOrientation({})", shortestDecimal(force),
                       pointText(position), orientation);
}

std::string sentLine(std::string_view control, std::string_view tag, bool delivered) {
    return fmt::format("{}({}) data sent successfully: {}", control, tag, delivered ? "true" : "false");
}

}  // namespace quarra
