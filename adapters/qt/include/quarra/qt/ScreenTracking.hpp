#pragma once
// The automatic screen hooks on a Qt application: an application-wide event
// filter hands the show and hide of every screen (a top-level window or
// dialog, or a page of a QStackedWidget) to ScreenAppearanceHooks, named by
// the meta-object's class name. Qt's own classes stand for the platform's:
// a plain QStackedWidget is a navigation container, a QTabWidget a tab bar,
// a QMessageBox an alert, a QTableView or QTableWidget a table screen; any
// other Qt class is logged and never reported. The hooks stay quiet until
// the first online authentication switches screen tracking on.
#include <QObject>

#include <quarra/tracking/ScreenAppearanceHooks.hpp>

class QWidget;

namespace quarra::qt {

class ScreenHooksFilter : public QObject {
    Q_OBJECT

public:
    // Filters the events of `application` until destroyed.
    ScreenHooksFilter(ScreenAppearanceHooks& hooks, QObject& application);
    ~ScreenHooksFilter() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    ScreenAppearanceHooks& hooks_;
    QObject& application_;
};

// What the hooks are told about `widget`.
ScreenClass screenClassOf(const QWidget& widget);
// True for a top-level window or dialog and for a page of a QStackedWidget.
bool isScreen(const QWidget& widget);

// Call once at start-up, on the GUI thread, after quarra::configure(): the
// filter of the process-wide hooks, owned by the application.
void installScreenTracking();

}  // namespace quarra::qt
