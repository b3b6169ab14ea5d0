#pragma once
/**
 * @file
 * @brief Touches as the toolkit adapter hands them to the tracking controls.
 */
#include <quarra/Export.hpp>
namespace quarra {

/**
 * @brief A point in a view's own coordinates, in points.
 *
 * @par Thread
 * Any thread; it shares nothing.
 * @par Lifetime
 * A value type; copy freely.
 * @par Blocking
 * Never blocks.
 */
struct QUARRA_API ViewPoint {
    double x = 0;  ///< Rightwards from the view's left edge.
    double y = 0;  ///< Downwards from the view's top edge.
    /// Memberwise equality.
    bool operator==(const ViewPoint&) const = default;
};

/**
 * @brief One touch: its force and its location.
 *
 * @par Thread
 * Any thread; it shares nothing.
 * @par Lifetime
 * A value type; copy freely.
 * @par Blocking
 * Never blocks.
 */
struct QUARRA_API Touch {
    double force = 0;     ///< The touch's force; 0 where the hardware has none (a mouse).
    ViewPoint location;   ///< In the coordinates of the control or screen that receives it.
};

/// States of a gesture recogniser, with the platform's raw values.
enum class GestureRecognizerState {
    possible = 0,   ///< Not yet recognised.
    began = 1,      ///< A continuous gesture began.
    changed = 2,    ///< A continuous gesture changed.
    ended = 3,      ///< The gesture ended (a press was released).
    cancelled = 4,  ///< The gesture was cancelled.
    failed = 5,     ///< The gesture was not recognised.
};

}  // namespace quarra
