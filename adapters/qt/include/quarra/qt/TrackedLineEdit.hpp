#pragma once
/**
 * @file
 * @brief A QLineEdit that measures its editing periods with TrackingTextField.
 *
 * Focus in begins a period, each edit by the user is a text change, focus
 * out ends it and reports. Clicks and taps count as taps; the last touch (or
 * mouse press) gives force and position. The typed text never leaves it.
 */
#include <quarra/qt/Export.hpp>
#include <quarra/qt/Tags.hpp>
#include <QLineEdit>
#include <memory>

#include <quarra/tracking/TrackingContextRef.hpp>
#include <quarra/tracking/TrackingTextField.hpp>

namespace quarra::qt {

/**
 * @brief A QLineEdit that reports each editing period.
 *
 * A context menu does not end a period; leaving the window does (coming back
 * begins a new one).
 *
 * @par Thread
 * GUI thread only: made, used and destroyed there.
 * @par Lifetime
 * A QWidget: owned by its parent when given. Owns its TrackingTextField. A
 * field destroyed while the user types in it still reports that period. A
 * report handed off is delivered also when the field is destroyed meanwhile;
 * after DataCollectorService::shutdown() reports are refused at once.
 * @par Blocking
 * Never blocks: reports are handed to the library's worker.
 */
class QUARRA_QT_API TrackedLineEdit : public QLineEdit {
    Q_OBJECT
    /// One of the field tag names ("Password"); see FieldTags.
    Q_PROPERTY(QString fieldTag READ fieldTag WRITE setFieldTag NOTIFY fieldTagChanged)
    /// The same tag as a Q_ENUM (None also while the raw string is unknown).
    Q_PROPERTY(quarra::qt::Tags::Field field READ field WRITE setField NOTIFY fieldTagChanged)

public:
    /// A field reporting through `context` (the shared one unless a test gives its own).
    explicit TrackedLineEdit(QWidget* parent = nullptr,
                             std::shared_ptr<const TrackingContext> context = sharedTrackingContext());
    /// Reports an open period, then destroys the tracking control.
    ~TrackedLineEdit() override;

    /// The field tag's raw string (TrackingTextField::fieldTag()).
    QString fieldTag() const;
    /// Sets the field tag; any text other than a FieldTags raw string is reported once on the console, and the field reports nothing.
    void setFieldTag(const QString& tag);
    /// The tracking control; valid as long as the widget.
    TrackingTextField& tracking() { return *tracking_; }
    /// The tag as a Q_ENUM; None while fieldTag() is not a FieldTags raw string.
    Tags::Field field() const;
    /// Sets the tag from the Q_ENUM (its raw string, as setFieldTag()).
    void setField(Tags::Field tag);

signals:
    /// The tag changed (either property).
    void fieldTagChanged();

protected:
    /// Forwards presses, touches and moves while pressed to the control; the
    /// base class then handles the event. An override calls this one.
    bool event(QEvent* event) override;
    /// The base class handles the focus, then a period begins. An override calls this one.
    void focusInEvent(QFocusEvent* event) override;
    /// The base class handles the focus, then the period ends and is reported
    /// (not for a context menu). An override calls this one.
    void focusOutEvent(QFocusEvent* event) override;
    /// The base class handles the release, then a release inside the field counts as a tap. An override calls this one.
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    class Host;
    Host* host_;  // a child object of this widget
    std::unique_ptr<TrackingTextField> tracking_;
    bool editing_ = false;  // between the focus coming and going
};

}  // namespace quarra::qt
