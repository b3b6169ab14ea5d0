#pragma once
/**
 * @file
 * @brief The library's end on a Qt application.
 *
 * When the application is about to quit (QCoreApplication::aboutToQuit), the
 * adapter shuts the library down: it delivers what it can within a short
 * time-out, then ends the library's threads, so that nothing of the library
 * runs while Qt tears itself down. makeMainQueueExecutor() turns this on with
 * kDefaultQuitTimeout.
 *
 * The shutdown blocks the GUI thread for at most the time-out (plus a short
 * grace), after the event loop has ended. Call these on the GUI thread, once
 * the QApplication exists.
 */
#include <quarra/qt/Export.hpp>
#include <chrono>

namespace quarra::qt {

/// How long the shutdown at quit delivers by default: 1.5 s.
inline constexpr std::chrono::milliseconds kDefaultQuitTimeout{1500};

/**
 * @brief Shuts the library down at aboutToQuit, delivering for at most `timeout`.
 *
 * Calling again changes the time-out. Without a QCoreApplication it does
 * nothing.
 *
 * @par Thread
 * The GUI thread, once the QApplication exists. The shutdown runs on the GUI
 * thread, at aboutToQuit.
 * @par Lifetime
 * The hook is a child object of the application and goes with it.
 * @par Blocking
 * Never blocks itself. The shutdown at aboutToQuit blocks the GUI thread for
 * at most `timeout` plus a short grace (DataCollectorService::shutdown()).
 */
QUARRA_QT_API void shutDownOnQuit(std::chrono::milliseconds timeout = kDefaultQuitTimeout);

/**
 * @brief No shutdown at aboutToQuit.
 *
 * The host calls DataCollectorService::shutdown() itself, or lets the process
 * exit stop the library (nothing more is delivered then).
 *
 * @par Thread
 * The GUI thread, once the QApplication exists.
 * @par Lifetime
 * Removes the hook; shutDownOnQuit() may install it again.
 * @par Blocking
 * Never blocks.
 */
QUARRA_QT_API void keepRunningOnQuit();

}  // namespace quarra::qt
