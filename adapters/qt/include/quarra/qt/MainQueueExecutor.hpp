#pragma once
/**
 * @file
 * @brief The library's main queue on a Qt application: tasks run on the
 * thread of the Qt event loop (the GUI thread), one at a time, in the order
 * they are due.
 */
#include <quarra/qt/Export.hpp>
#include <memory>

#include <quarra/Executor.hpp>

/**
 * @brief The Qt Widgets adapter: widgets and helpers that feed the library's
 * toolkit-neutral tracking controls from a Qt 6 application.
 *
 * Everything here runs on the GUI thread unless its documentation says
 * otherwise.
 */
namespace quarra::qt {

/**
 * @brief The Qt event loop as Options::mainExecutor.
 *
 * Also shuts the library down when the application quits (see
 * QuitShutdown.hpp): it calls shutDownOnQuit() with kDefaultQuitTimeout, so
 * call shutDownOnQuit() after it to change the time-out, or
 * keepRunningOnQuit() to turn that off. A task that throws is caught and
 * reported on standard error; it does not reach the event loop.
 *
 * @par Thread
 * Call on the GUI thread once the QApplication exists. The executor's post()
 * and postAfter() may then be called from any thread; tasks run on the GUI
 * thread.
 * @par Lifetime
 * Tasks still pending when the executor is released, or when the event loop
 * has ended, are dropped.
 * @par Blocking
 * Never blocks; neither do post() and postAfter().
 */
QUARRA_QT_API std::shared_ptr<Executor> makeMainQueueExecutor();

}  // namespace quarra::qt
