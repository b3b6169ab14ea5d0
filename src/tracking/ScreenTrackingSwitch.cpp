#include "tracking/ScreenTrackingSwitch.hpp"

#include <mutex>

namespace quarra {
namespace {

struct SwitchState {
    std::mutex mutex;
    bool on = false;
    std::function<void()> installer;
};

SwitchState& state() {
    static SwitchState* instance = new SwitchState();
    return *instance;
}

}  // namespace

void switchOnScreenTracking() {
    std::function<void()> installer;
    {
        std::lock_guard lock(state().mutex);
        if (state().on) return;
        state().on = true;
        installer = state().installer;
    }
    if (installer) installer();
}

bool screenTrackingOn() {
    std::lock_guard lock(state().mutex);
    return state().on;
}

void setScreenTrackingInstaller(std::function<void()> installer) {
    bool runNow = false;
    {
        std::lock_guard lock(state().mutex);
        state().installer = installer;
        runNow = state().on;
    }
    if (runNow && installer) installer();
}

}  // namespace quarra
