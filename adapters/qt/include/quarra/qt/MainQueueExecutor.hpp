#pragma once
// The library's main queue on a Qt application: tasks run on the thread of
// the Qt event loop (the GUI thread), one at a time, in the order they are due.
#include <memory>

#include <quarra/Executor.hpp>

namespace quarra::qt {

// Call on the GUI thread once the QApplication exists; hand the result to
// Options::mainExecutor. Tasks still pending when the executor is released,
// or when the event loop has ended, are dropped. Also shuts the library down
// when the application quits (see QuitShutdown.hpp; keepRunningOnQuit()
// turns that off).
std::shared_ptr<Executor> makeMainQueueExecutor();

}  // namespace quarra::qt
