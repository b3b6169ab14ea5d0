#pragma once
/**
 * @file
 * @brief The automatic screen hooks on a Qt application.
 *
 * An application-wide event filter hands the show and hide of every screen (a
 * top-level window or dialog, or a page of a QStackedWidget) to
 * ScreenAppearanceHooks, named by the meta-object's class name. Qt's own
 * classes stand for the platform's: a plain QStackedWidget is a navigation
 * container, a QTabWidget a tab bar, a QMessageBox an alert, a QTableView or
 * QTableWidget a table screen; any other Qt class is logged and never
 * reported, unless it carries a known `quarraScreenTag` (see
 * AttachedTracking.hpp): it is then named by its tag. A screen deleted while
 * shown exits then. The hooks stay quiet until the first online
 * authentication switches screen tracking on.
 */
#include <quarra/qt/Export.hpp>
#include <QHash>
#include <QObject>

#include <quarra/tracking/ScreenAppearanceHooks.hpp>

class QWidget;

namespace quarra::qt {

/**
 * @brief The application-wide event filter that feeds ScreenAppearanceHooks.
 *
 * Shows and hides that the window system caused on its own (a window
 * minimised and restored) are not visits and are ignored.
 *
 * @par Thread
 * GUI thread only: made, used and destroyed there.
 * @par Lifetime
 * A child object of `application`, which owns it; `hooks` must outlive it.
 * The destructor removes the filter.
 * @par Blocking
 * Never blocks: the events are handed to the library's worker.
 */
class QUARRA_QT_API ScreenHooksFilter : public QObject {
    Q_OBJECT

public:
    /// Filters the events of `application` until destroyed; owned by `application`.
    ScreenHooksFilter(ScreenAppearanceHooks& hooks, QObject& application);
    /// Removes the filter from the application.
    ~ScreenHooksFilter() override;

protected:
    /// Hands the show or hide of a screen to the hooks, before the screen's own handling; never consumes the event.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void screenDestroyed(QObject* screen);

    ScreenAppearanceHooks& hooks_;
    QObject& application_;
    QHash<const QObject*, ScreenClass> shown_;  // screens shown and not hidden since
};

/**
 * @brief What the hooks are told about `widget`.
 *
 * @par Thread
 * GUI thread.
 * @par Lifetime
 * Keeps nothing.
 * @par Blocking
 * Never blocks.
 */
QUARRA_QT_API ScreenClass screenClassOf(const QWidget& widget);

/**
 * @brief True for a top-level window or dialog and for a page of a QStackedWidget.
 *
 * Menus, tool tips and pop-ups are not screens.
 *
 * @par Thread
 * GUI thread.
 * @par Lifetime
 * Keeps nothing.
 * @par Blocking
 * Never blocks.
 */
QUARRA_QT_API bool isScreen(const QWidget& widget);

/**
 * @brief Installs the filter of the process-wide hooks (ScreenAppearanceHooks::shared()).
 *
 * Call once at start-up, after quarra::configure(); calling again changes
 * nothing. Without a QCoreApplication it does nothing.
 *
 * @par Thread
 * The GUI thread.
 * @par Lifetime
 * The filter is owned by the application and lives as long as it.
 * @par Blocking
 * Never blocks on the disk (builds the library on first use).
 */
QUARRA_QT_API void installScreenTracking();

}  // namespace quarra::qt
