#pragma once
// Whether the device has a usable network path, and when that changes.
#include <functional>

namespace quarra {

class PathMonitor {
public:
    using Handler = std::function<void(bool satisfied)>;
    virtual ~PathMonitor() = default;

    // Installs `handler` and starts watching. The handler runs on the
    // monitor's queue: once with the current answer, then once for every
    // change of the answer. Calling start() again replaces the handler; the
    // new one also gets the current answer first. Never blocks.
    virtual void start(Handler handler) = 0;

    // Stops watching. No handler call starts after cancel() returns; one that
    // is already running on the queue may finish. start() may be called again.
    virtual void cancel() = 0;
};

}  // namespace quarra
