#pragma once
/**
 * @file
 * @brief Tracking attached to widgets the host already has, without
 * subclassing: by a call (trackField(), trackButton(), trackAction(),
 * trackPicker(), trackScreen()) or by a dynamic property that one application-wide filter
 * reads (PropertyTrackingFilter).
 *
 * The properties, settable in Qt Designer (mark the string "no translate"):
 * - `quarraFieldTag` on a QLineEdit, QTextEdit or QPlainTextEdit: a FieldTags
 *   raw string ("Password");
 * - `quarraAction` on a QAbstractButton or a QAction: a ButtonTrackingAction
 *   raw string ("LoginAttempt");
 * - `quarraPickerTag` on a QComboBox, a list or any other widget the user
 *   picks from: a FieldTags raw string ("LoginPickerView");
 * - `quarraScreenTag` on any widget that is a screen (a window, a QDialog, a
 *   QMainWindow, a page of a QStackedWidget or QTabWidget): a ScreenTags raw
 *   string ("Checkout").
 *
 * The same tracking controls measure as behind TrackedLineEdit,
 * TrackedPushButton, TrackedPicker and TrackedTableScreen, and send the same
 * reports. TextWatcher honours `quarraFieldTag` too, without the filter.
 */
#include <quarra/qt/Export.hpp>
#include <QObject>
#include <memory>

#include <quarra/tracking/ButtonTrackingAction.hpp>
#include <quarra/tracking/FieldTags.hpp>
#include <quarra/tracking/ScreenTags.hpp>
#include <quarra/tracking/TrackingContextRef.hpp>

class QAbstractButton;
class QAction;
class QWidget;

namespace quarra::qt {

/// The dynamic property naming a text editor's field tag.
inline constexpr const char* kFieldTagProperty = "quarraFieldTag";
/// The dynamic property naming a button's or a QAction's tracking action.
inline constexpr const char* kActionProperty = "quarraAction";
/// The dynamic property naming a picker's field tag (see trackPicker()).
inline constexpr const char* kPickerTagProperty = "quarraPickerTag";
/// The dynamic property naming a screen's tag.
inline constexpr const char* kScreenTagProperty = "quarraScreenTag";

/**
 * @name Attaching by a call
 * Each call attaches one tracking control to the object, a child object of
 * it; calling again for the same object changes its tag. Tracking ends when
 * the object is destroyed: an editing period or a screen visit still open is
 * reported then.
 *
 * @par Thread
 * GUI thread only.
 * @par Lifetime
 * The control lives as long as the object. A report handed off is delivered
 * also when the object is destroyed meanwhile.
 * @par Blocking
 * Never blocks: reports are handed to the library's worker.
 */
//@{
/// Reports each editing period of a QLineEdit, QTextEdit or QPlainTextEdit
/// (as TrackedLineEdit does); false, with nothing attached, for another widget or a null one.
QUARRA_QT_API bool trackField(QWidget* editor, FieldTags tag,
                              std::shared_ptr<const TrackingContext> context = sharedTrackingContext());
/// Reports each click of the button (as TrackedPushButton does); false for a null button.
QUARRA_QT_API bool trackButton(QAbstractButton* button, ButtonTrackingAction action,
                               std::shared_ptr<const TrackingContext> context = sharedTrackingContext());
/// Reports each trigger of the action (menu, tool bar, shortcut) as a tap, with no touch; false for a null action.
QUARRA_QT_API bool trackAction(QAction* action, ButtonTrackingAction trackingAction,
                               std::shared_ptr<const TrackingContext> context = sharedTrackingContext());
/// Reports each period the widget is shown (as TrackedPicker does), for a
/// list or other picker the host already has; for a QComboBox, each period
/// its list is dropped down (attach after any QComboBox::setView()). False
/// for a null widget or a TrackedPicker.
QUARRA_QT_API bool trackPicker(QWidget* picker, FieldTags tag,
                               std::shared_ptr<const TrackingContext> context = sharedTrackingContext());
/// Reports the visits of any screen under `tag` (as TrackedTableScreen does;
/// attach before it is first shown)
/// and sets its `quarraScreenTag`, so that the automatic hooks name it by the
/// tag too; false for a null widget or a TrackedTableScreen or TrackedCollectionScreen.
QUARRA_QT_API bool trackScreen(QWidget* screen, ScreenTags tag,
                               std::shared_ptr<const TrackingContext> context = sharedTrackingContext());
//@}

/**
 * @brief The one application-wide filter of the property route.
 *
 * It reads `quarraFieldTag`, `quarraAction`, `quarraPickerTag` and
 * `quarraScreenTag` when a widget is polished (before it is first shown) and
 * whenever such a property changes, and attaches as the calls above do. A
 * QAction, which is never polished, is read when its property changes, when
 * it is added to a widget (a menu, a tool bar, a window) and when a widget
 * holding it is polished. A value outside the
 * vocabulary reaches the control as it is: a field, a picker or a button
 * says so once on the console and reports nothing, as the subclasses do; a screen with an
 * unknown tag reports no tagged events.
 * However many widgets are tracked, this is the only application-wide filter
 * of the route: each control listens on its own widget.
 *
 * @par Thread
 * GUI thread only: made, used and destroyed there.
 * @par Lifetime
 * A child object of `application`, which owns it. The destructor removes the
 * filter; controls already attached stay.
 * @par Blocking
 * Never blocks.
 */
class QUARRA_QT_API PropertyTrackingFilter : public QObject {
    Q_OBJECT

public:
    /// Filters the events of `application` until destroyed, attaching through `context`; owned by `application`.
    PropertyTrackingFilter(QObject& application,
                           std::shared_ptr<const TrackingContext> context = sharedTrackingContext());
    /// Removes the filter from the application.
    ~PropertyTrackingFilter() override;

protected:
    /// Attaches on a widget's polish, an action added to a widget, or a change
    /// of one of the properties; never consumes the event.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QObject& application_;
    std::shared_ptr<const TrackingContext> context_;
};

/**
 * @brief Installs the property route for the shared tracking context.
 *
 * Call once at start-up, before the forms are built; calling again changes
 * nothing. Without a QCoreApplication it does nothing.
 *
 * @par Thread
 * The GUI thread.
 * @par Lifetime
 * The filter is owned by the application and lives as long as it.
 * @par Blocking
 * Never blocks on the disk (builds the library on first use).
 */
QUARRA_QT_API void installPropertyTracking();

}  // namespace quarra::qt
