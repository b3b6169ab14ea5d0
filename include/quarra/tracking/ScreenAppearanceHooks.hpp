#pragma once
/**
 * @file
 * @brief Automatic screen tracking.
 *
 * Once switched on (after the first online authentication; it then stays on)
 * every screen's will-appear and will-disappear pass through here. Screens of
 * the host's own classes (a class name of at least three characters not
 * starting with "UI") produce `"<class>-Enter"` 0.2 s after they appear and
 * `"<class>-Exit"` when they disappear.
 *
 * The adapter calls viewWillAppear and viewWillDisappear for every screen,
 * on the main queue, before its own handling of the event; for a tagged
 * screen (EventsTrackerTableViewController, ...) it calls the screen's
 * viewWillDisappear afterwards, so the named exit comes first.
 */
#include <quarra/Export.hpp>
#include <atomic>
#include <memory>
#include <string>

#include <quarra/tracking/TrackingContextRef.hpp>

namespace quarra {

/**
 * @brief Which of the toolkit's own screen classes a screen is exactly an instance of.
 *
 * A host subclass of one of them is `none`. Screens of these classes are
 * logged, never reported.
 */
enum class PlatformScreenClass {
    none,                  ///< Not exactly one of the classes below.
    navigationController,  ///< A navigation container.
    tableViewController,   ///< A table screen.
    tabBarController,      ///< A tab container.
    alertController,       ///< An alert.
};

/**
 * @brief What the hooks are told about a screen.
 *
 * @par Thread
 * Any thread; it shares nothing.
 * @par Lifetime
 * A value type; copy freely.
 * @par Blocking
 * Never blocks.
 */
struct QUARRA_API ScreenClass {
    std::string name;  ///< The unqualified class name ("LoginViewController").
    PlatformScreenClass exactPlatformClass = PlatformScreenClass::none;  ///< The toolkit class it is exactly, if any.
    /// A class of the toolkit itself whose name does not follow the "UI"
    /// prefix (a plain QWidget window, say): it is logged, never reported.
    bool toolkitClass = false;
};

/**
 * @brief The automatic screen hooks: named enter and exit events for every host screen.
 *
 * Until install() the hooks do nothing; once on, every disappearance is
 * also written to standard error.
 *
 * @par Thread
 * viewWillAppear() and viewWillDisappear() on the main queue only;
 * install() and installed() from any thread.
 * @par Lifetime
 * Keeps a shared reference to its tracking context. An enter event is sent
 * 0.2 s after the appearance also when the screen is gone by then. shared()
 * lives for the whole process.
 * @par Blocking
 * Never blocks: the events are handed to the library's worker.
 */
class QUARRA_API ScreenAppearanceHooks {
public:
    /**
     * @brief The hooks of the shared tracking context.
     *
     * The library switches them on after the first online authentication.
     *
     * @par Thread
     * Any thread.
     * @par Lifetime
     * Lives for the whole process.
     * @par Blocking
     * Never blocks on the disk (builds the library on first use, see
     * DataCollectorService::defaultService()).
     */
    static ScreenAppearanceHooks& shared();

    /// Hooks reporting through `context`; switched off until install().
    explicit ScreenAppearanceHooks(std::shared_ptr<const TrackingContext> context);

    /// Switches the hooks on; switching on again changes nothing. Any thread.
    void install() { installed_.store(true); }
    /// Whether the hooks are on. Any thread.
    bool installed() const { return installed_.load(); }

    /// A screen is about to appear: its enter event follows 0.2 s later. Main queue.
    void viewWillAppear(const ScreenClass& screen);
    /// A screen is about to disappear: logs it and sends its exit event with the time since the last named enter. Main queue.
    void viewWillDisappear(const ScreenClass& screen);

private:
    std::shared_ptr<const TrackingContext> context_;
    std::atomic<bool> installed_{false};
};

/**
 * @brief True for names the automatic hooks report: at least three characters, not starting with "UI".
 *
 * @par Thread
 * Any thread.
 * @par Lifetime
 * Keeps nothing.
 * @par Blocking
 * Never blocks.
 */
QUARRA_API bool isTrackedScreenName(const std::string& name);

}  // namespace quarra
