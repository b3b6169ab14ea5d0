#pragma once
// The library's end on a Qt application. When the application is about to
// quit (QCoreApplication::aboutToQuit), the adapter shuts the library down:
// it delivers what it can within a short time-out, then ends the library's
// threads, so that nothing of the library runs while Qt tears itself down.
// makeMainQueueExecutor() turns this on with kDefaultQuitTimeout.
//
// The shutdown blocks the GUI thread for at most the time-out (plus a short
// grace), after the event loop has ended. Call these on the GUI thread, once
// the QApplication exists.
#include <chrono>

namespace quarra::qt {

inline constexpr std::chrono::milliseconds kDefaultQuitTimeout{1500};

// Shuts the library down at aboutToQuit, delivering for at most `timeout`.
// Calling again changes the time-out.
void shutDownOnQuit(std::chrono::milliseconds timeout = kDefaultQuitTimeout);

// No shutdown at aboutToQuit: the host calls DataCollectorService::shutdown()
// itself, or lets the process exit stop the library (nothing more is
// delivered then).
void keepRunningOnQuit();

}  // namespace quarra::qt
