#pragma once
/**
 * @file
 * @brief The orientation of the primary screen, for Options::orientationSource.
 */
#include <quarra/qt/Export.hpp>
#include <quarra/DeviceOrientation.hpp>

namespace quarra::qt {

/**
 * @brief A source that follows the primary screen's orientation.
 *
 * Without a primary screen it answers DeviceOrientation::unknown.
 *
 * @par Thread
 * Call on the GUI thread once the QGuiApplication exists. The source may be
 * asked from any thread; it follows the primary screen's orientation changes
 * (delivered on the GUI thread).
 * @par Lifetime
 * The source holds its own copy of the last orientation, so it stays safe to
 * call after the screen or the application is gone (it then keeps the last
 * answer).
 * @par Blocking
 * Never blocks; neither does the source.
 */
QUARRA_QT_API OrientationSource primaryScreenOrientation();

}  // namespace quarra::qt
