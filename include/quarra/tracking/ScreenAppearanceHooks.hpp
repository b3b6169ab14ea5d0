#pragma once
// Automatic screen tracking. Once switched on (after the first online
// authentication; it then stays on) every screen's will-appear and
// will-disappear pass through here. Screens of the host's own classes (a
// class name of at least three characters not starting with "UI") produce
// "<class>-Enter" 0.2 s after they appear and "<class>-Exit" when they
// disappear.
//
// The adapter calls viewWillAppear and viewWillDisappear for every screen,
// on the main queue, before its own handling of the event; for a tagged
// screen (EventsTrackerTableViewController, ...) it calls the screen's
// viewWillDisappear afterwards, so the named exit comes first.
#include <atomic>
#include <memory>
#include <string>

#include <quarra/tracking/TrackingContextRef.hpp>

namespace quarra {

// Which of the toolkit's own screen classes a screen is exactly an instance
// of; a host subclass of one of them is `none`.
enum class PlatformScreenClass {
    none,
    navigationController,
    tableViewController,
    tabBarController,
    alertController,
};

struct ScreenClass {
    std::string name;  // the unqualified class name ("LoginViewController")
    PlatformScreenClass exactPlatformClass = PlatformScreenClass::none;
    // A class of the toolkit itself whose name does not follow the "UI"
    // prefix (a plain QWidget window, say): it is logged, never reported.
    bool toolkitClass = false;
};

class ScreenAppearanceHooks {
public:
    // The hooks of the shared tracking context; the library switches them on
    // after the first online authentication.
    static ScreenAppearanceHooks& shared();

    explicit ScreenAppearanceHooks(std::shared_ptr<const TrackingContext> context);

    // Switches the hooks on; switching on again changes nothing.
    void install() { installed_.store(true); }
    bool installed() const { return installed_.load(); }

    void viewWillAppear(const ScreenClass& screen);
    void viewWillDisappear(const ScreenClass& screen);

private:
    std::shared_ptr<const TrackingContext> context_;
    std::atomic<bool> installed_{false};
};

// True for names the automatic hooks report: at least three characters, not
// starting with "UI".
bool isTrackedScreenName(const std::string& name);

}  // namespace quarra
