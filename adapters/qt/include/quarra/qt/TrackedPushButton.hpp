#pragma once
/**
 * @file
 * @brief A QPushButton that reports each click or tap through TrackingButton
 * as a user event named by its tracking action, with the last touch's force
 * (0 for a mouse) and position. Touches that begin on it also reach the
 * tracked screen or widget around it.
 */
#include <quarra/qt/Export.hpp>
#include <quarra/qt/Tags.hpp>
#include <QPushButton>
#include <memory>

#include <quarra/tracking/TrackingButton.hpp>
#include <quarra/tracking/TrackingContextRef.hpp>

namespace quarra::qt {

/**
 * @brief A QPushButton that reports each click.
 *
 * @par Thread
 * GUI thread only: made, used and destroyed there.
 * @par Lifetime
 * A QWidget: owned by its parent when given. Owns its TrackingButton. A
 * report handed off is delivered also when the button is destroyed
 * meanwhile; after DataCollectorService::shutdown() reports are refused at
 * once.
 * @par Blocking
 * Never blocks: reports are handed to the library's worker.
 */
class QUARRA_QT_API TrackedPushButton : public QPushButton {
    Q_OBJECT
    /// A tracking action name ("LoginAttempt"); see ButtonTrackingAction.
    Q_PROPERTY(QString trackingAction READ trackingAction WRITE setTrackingAction NOTIFY trackingActionChanged)
    /// The same action as a Q_ENUM (None while no action is set).
    Q_PROPERTY(quarra::qt::Tags::Action action READ action WRITE setAction NOTIFY trackingActionChanged)

public:
    /// An unlabelled button, reporting through `context` (the shared one unless a test gives its own).
    /// The constructor uic calls for a button promoted in Qt Designer.
    explicit TrackedPushButton(QWidget* parent = nullptr,
                               std::shared_ptr<const TrackingContext> context = sharedTrackingContext());
    /// A button labelled `text`, reporting through `context` (the shared one unless a test gives its own).
    explicit TrackedPushButton(const QString& text, QWidget* parent = nullptr,
                               std::shared_ptr<const TrackingContext> context = sharedTrackingContext());
    /// Destroys the tracking control; reports already handed off still go out.
    ~TrackedPushButton() override;

    /// The action's raw string; empty while no action (or an unknown one) is set.
    QString trackingAction() const;
    /// Sets the action from its raw string; an unknown text leaves no action (clicks are then not reported).
    void setTrackingAction(const QString& action);
    /// The tracking control; valid as long as the widget.
    TrackingButton& tracking() { return *tracking_; }
    /// The action as a Q_ENUM; None while no action is set.
    Tags::Action action() const;
    /// Sets the action from the Q_ENUM (None reports nothing).
    void setAction(Tags::Action action);

signals:
    /// The action changed (either property).
    void trackingActionChanged();

protected:
    /// Forwards presses, touches and moves while pressed to the control (and
    /// a press to the screen around the button); the base class then handles
    /// the event. An override calls this one.
    bool event(QEvent* event) override;

private:
    std::unique_ptr<TrackingButton> tracking_;
};

}  // namespace quarra::qt
