#pragma once
// A QPushButton that reports each click or tap through TrackingButton as a
// user event named by its tracking action, with the last touch's force
// (0 for a mouse) and position. Touches that begin on it also reach the
// tracked screen or widget around it.
#include <QPushButton>
#include <memory>

#include <quarra/tracking/TrackingButton.hpp>
#include <quarra/tracking/TrackingContextRef.hpp>

namespace quarra::qt {

class TrackedPushButton : public QPushButton {
    Q_OBJECT
    // A tracking action name ("LoginAttempt"); see ButtonTrackingAction.
    Q_PROPERTY(QString trackingAction READ trackingAction WRITE setTrackingAction)

public:
    explicit TrackedPushButton(const QString& text = {}, QWidget* parent = nullptr,
                               std::shared_ptr<const TrackingContext> context = sharedTrackingContext());
    ~TrackedPushButton() override;

    // Empty while no action (or an unknown one) is set.
    QString trackingAction() const;
    void setTrackingAction(const QString& action);
    TrackingButton& tracking() { return *tracking_; }

protected:
    bool event(QEvent* event) override;

private:
    std::unique_ptr<TrackingButton> tracking_;
};

}  // namespace quarra::qt
