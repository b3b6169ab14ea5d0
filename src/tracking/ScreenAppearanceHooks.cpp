#include <quarra/tracking/ScreenAppearanceHooks.hpp>

#include <chrono>

#include "tracking/ScreenEvents.hpp"
#include "tracking/TrackingContext.hpp"

namespace quarra {
namespace {

constexpr std::chrono::milliseconds kEnterDelay{200};

// The system-log line of a disappearing screen, by its exact class.
std::string disappearLine(const ScreenClass& screen) {
    switch (screen.exactPlatformClass) {
        case PlatformScreenClass::navigationController: return "Nav Controller : --->" + screen.name;
        case PlatformScreenClass::tableViewController: return "Table Controller : ---> " + screen.name;
        case PlatformScreenClass::tabBarController: return "TabBar Controller : ---> " + screen.name;
        case PlatformScreenClass::alertController: return "Alert Controller : ---> " + screen.name;
        case PlatformScreenClass::none: break;
    }
    return "Screen Name: ---> " + screen.name;
}

bool reportsEvents(const ScreenClass& screen) {
    return screen.exactPlatformClass == PlatformScreenClass::none && !screen.toolkitClass &&
           isTrackedScreenName(screen.name);
}

}  // namespace

bool isTrackedScreenName(const std::string& name) { return name.size() >= 3 && name.compare(0, 2, "UI") != 0; }

ScreenAppearanceHooks::ScreenAppearanceHooks(std::shared_ptr<const TrackingContext> context)
    : context_(std::move(context)) {}

void ScreenAppearanceHooks::viewWillAppear(const ScreenClass& screen) {
    if (!installed() || !reportsEvents(screen)) return;
    // The enter step runs even if the screen is gone by then.
    context_->mainExecutor->postAfter(kEnterDelay, [context = context_, name = screen.name + "-Enter"] {
        namedEnterStep(*context, name);
    });
}

void ScreenAppearanceHooks::viewWillDisappear(const ScreenClass& screen) {
    if (!installed()) return;
    context_->systemLog->writeLine(disappearLine(screen));
    if (!reportsEvents(screen)) return;
    namedExitStep(*context_, screen.name + "-Exit");
}

}  // namespace quarra
