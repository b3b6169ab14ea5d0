#include "tracking/TouchText.hpp"

#include "core/DecimalText.hpp"

namespace quarra {

std::string pointText(ViewPoint point) {
    return "(" + shortestDecimal(point.x) + ", " + shortestDecimal(point.y) + ")";
}

std::string touchLine(double force, ViewPoint position, std::string_view orientation) {
    std::string line = "TouchForce(" + shortestDecimal(force) + ") TouchPosition" + pointText(position);
    line += " DeviceOrientation(";
    line += orientation;
    line += ")";
    return line;
}

std::string sentLine(std::string_view control, std::string_view tag, bool delivered) {
    std::string line(control);
    line += "(";
    line += tag;
    line += ") data sent successfully: ";
    line += delivered ? "true" : "false";
    return line;
}

}  // namespace quarra
