#pragma once
// Touches as the toolkit adapter hands them to the tracking controls.
namespace quarra {

// A point in a view's own coordinates, in points.
struct ViewPoint {
    double x = 0;
    double y = 0;
    bool operator==(const ViewPoint&) const = default;
};

// One touch: its force (0 where the hardware has none) and its location in
// the coordinates of the control or screen that receives it.
struct Touch {
    double force = 0;
    ViewPoint location;
};

// States of a gesture recogniser, with the platform's raw values.
enum class GestureRecognizerState {
    possible = 0,
    began = 1,
    changed = 2,
    ended = 3,
    cancelled = 4,
    failed = 5,
};

}  // namespace quarra
