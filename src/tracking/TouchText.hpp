#pragma once
// The texts controls write about a touch.
#include <string>
#include <string_view>

#include <quarra/tracking/Touch.hpp>

namespace quarra {

// "(x, y)" with both coordinates in shortest decimal form.
std::string pointText(ViewPoint point);
// "TouchForce(F) TouchPosition(X, Y) DeviceOrientation(O)".
std::string touchLine(double force, ViewPoint position, std::string_view orientation);
// "<control>(<tag>) data sent successfully: true|false".
std::string sentLine(std::string_view control, std::string_view tag, bool delivered);

}  // namespace quarra
