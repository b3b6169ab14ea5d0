#pragma once
/**
 * @file
 * @brief Tracks typing in every QLineEdit, QTextEdit and QPlainTextEdit of the
 * application that sits inside a FieldTrackingAdopter (a TrackedFieldGroup,
 * say), through QuarraTextWatcher.
 *
 * Focus in and out bound an editing period, the user's edits are its text
 * changes. TrackedLineEdits are heard too.
 *
 * An editor with a tag of its own (trackField(), or a `quarraFieldTag`
 * property) reports with that tag, and with the force and position of the
 * press or touch that focused it, exactly as trackField() makes it do.
 */
#include <quarra/qt/Export.hpp>
#include <QMetaObject>
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <memory>

#include <quarra/tracking/QuarraTextWatcher.hpp>
#include <quarra/tracking/TrackingContextRef.hpp>
#include <quarra/tracking/ViewNode.hpp>

namespace quarra::qt {

/**
 * @brief Feeds the focus and edits of the application's text editors to a QuarraTextWatcher.
 *
 * A context menu does not end a period; losing the focus otherwise does, and
 * so does the editor's destruction.
 *
 * An editor whose `quarraFieldTag` property is set (in a .ui file, or
 * later) is given a TrackingTextField as trackField() gives one, whether or
 * not installPropertyTracking() was called: its periods are reported under
 * its own tag, with the touch. Inside a FieldTrackingAdopter the watcher
 * hears it too, as it hears a TrackedLineEdit there, and reports the period
 * under the adopter's tag as well. That report has no touch data: the
 * library's QuarraTextWatcher takes none.
 *
 * @par Thread
 * GUI thread only: made, used and destroyed there.
 * @par Lifetime
 * A QObject: owned by `parent` when given. While tracking it filters the
 * application's events. Stopping or destroying it drops an open period
 * unreported. An editor it gave a control of its own (by its
 * `quarraFieldTag`) keeps it, as after trackField(), until the editor goes.
 * A report handed off is delivered also when the watcher is destroyed
 * meanwhile; after DataCollectorService::shutdown() reports are refused at
 * once.
 * @par Blocking
 * Never blocks: reports are handed to the library's worker.
 */
class QUARRA_QT_API TextWatcher : public QObject {
    Q_OBJECT

public:
    /// A watcher reporting through `context` (the shared one unless a test gives its own); not yet tracking.
    explicit TextWatcher(QObject* parent = nullptr,
                         std::shared_ptr<const TrackingContext> context = sharedTrackingContext());
    /// Stops tracking.
    ~TextWatcher() override;

    /// Starts watching every editor of the application, and attaches to those
    /// already carrying a `quarraFieldTag`; starting twice changes nothing. GUI thread.
    void startTracking();
    /// Stops watching; an open period is dropped unreported. GUI thread.
    void stopTracking();
    /// The watcher behind it; valid as long as this object.
    QuarraTextWatcher& tracking() { return *tracking_; }

protected:
    /// Turns focus in and out of a text editor into period begins and ends,
    /// and attaches to an editor when its `quarraFieldTag` appears (polish or
    /// property change); never consumes the event.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Hands an editor with a `quarraFieldTag` to its own control.
    void adoptOwnTag(QWidget& editor);

    void beginPeriod(QWidget& editor, bool field);
    // `node` is the editor's view node, or null when the editor is gone.
    void endPeriod(ViewNode* node);

    std::shared_ptr<const TrackingContext> context_;  // for the controls of editors with their own tag
    std::unique_ptr<QuarraTextWatcher> tracking_;
    QMetaObject::Connection edits_;  // of the widget with the focus
    QMetaObject::Connection gone_;   // its destruction
    QPointer<QWidget> editing_;     // the editor whose period is open
    bool editingField_ = false;     // a line edit (else a text view)
    bool filtering_ = false;
};

}  // namespace quarra::qt
