#pragma once
/**
 * @file
 * @brief The device's physical orientation, as a toolkit or sensor reports it.
 */
#include <functional>

namespace quarra {

/// Orientations, with the raw values the platform reports them by.
enum class DeviceOrientation {
    unknown = 0,             ///< Not known (a desktop without a sensor).
    portrait = 1,            ///< Upright, the bottom edge down.
    portraitUpsideDown = 2,  ///< Upright, the top edge down.
    landscapeLeft = 3,       ///< On its side, turned left.
    landscapeRight = 4,      ///< On its side, turned right.
    faceUp = 5,              ///< Lying flat, the screen up.
    faceDown = 6,            ///< Lying flat, the screen down.
};

/**
 * @brief Answers the orientation now (Options::orientationSource).
 *
 * Reports carry "landscape" for the two landscape values and "portrait" for
 * every other one.
 *
 * @par Thread
 * The library may call it from any thread, concurrently, so it must not
 * touch toolkit objects that belong to the user-interface thread.
 * @par Lifetime
 * The library keeps a copy for the rest of the process.
 * @par Blocking
 * It must return at once: it runs inside the controls' event handling.
 */
using OrientationSource = std::function<DeviceOrientation()>;

}  // namespace quarra
