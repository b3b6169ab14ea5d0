#pragma once
// Tracks typing in every QLineEdit, QTextEdit and QPlainTextEdit of the
// application that sits inside a FieldTrackingAdopter (a TrackedFieldGroup,
// say), through QuarraTextWatcher: focus in and out bound an editing period,
// the user's edits are its text changes. TrackedLineEdits are heard too.
#include <QMetaObject>
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <memory>

#include <quarra/tracking/QuarraTextWatcher.hpp>
#include <quarra/tracking/TrackingContextRef.hpp>
#include <quarra/tracking/ViewNode.hpp>

namespace quarra::qt {

class TextWatcher : public QObject {
    Q_OBJECT

public:
    explicit TextWatcher(QObject* parent = nullptr,
                         std::shared_ptr<const TrackingContext> context = sharedTrackingContext());
    ~TextWatcher() override;

    // GUI thread; starting twice changes nothing.
    void startTracking();
    void stopTracking();
    QuarraTextWatcher& tracking() { return *tracking_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void beginPeriod(QWidget& editor, bool field);
    // `node` is the editor's view node, or null when the editor is gone.
    void endPeriod(ViewNode* node);

    std::unique_ptr<QuarraTextWatcher> tracking_;
    QMetaObject::Connection edits_;  // of the widget with the focus
    QMetaObject::Connection gone_;   // its destruction
    QPointer<QWidget> editing_;     // the editor whose period is open
    bool editingField_ = false;     // a line edit (else a text view)
    bool filtering_ = false;
};

}  // namespace quarra::qt
