#pragma once
/**
 * @file
 * @brief A container widget that records, through TrackingView, where presses
 * and touches on it or anything inside it start and end, and prints which
 * child a tap selected. It sends nothing.
 */
#include <quarra/qt/Export.hpp>
#include <QWidget>
#include <memory>

#include <quarra/tracking/TrackingContextRef.hpp>
#include <quarra/tracking/TrackingView.hpp>

namespace quarra::qt {

/**
 * @brief A container that records where presses on it or its children start and end; sends nothing.
 *
 * Presses on children never reach the container's own handlers, so one
 * application-wide filter, shared by every TrackedWidget, hands them to the
 * TrackedWidgets around the pressed widget.
 *
 * @par Thread
 * GUI thread only: made, used and destroyed there.
 * @par Lifetime
 * A QWidget: owned by its parent when given. Owns its TrackingView. The
 * first TrackedWidget installs the shared filter (when a QCoreApplication
 * exists); it stays, owned by the application.
 * @par Blocking
 * Never blocks.
 */
class QUARRA_QT_API TrackedWidget : public QWidget {
    Q_OBJECT

public:
    /// A container printing through `context` (the shared one unless a test gives its own).
    explicit TrackedWidget(QWidget* parent = nullptr,
                           std::shared_ptr<const TrackingContext> context = sharedTrackingContext());
    /// Destroys the tracking control.
    ~TrackedWidget() override;

    /// The tracking control; valid as long as the widget.
    TrackingView& tracking() { return *tracking_; }

protected:
    /// Hands each press (hit test and start) and release (end) on the widget
    /// or a descendant to the control, once per press; never consumes the
    /// event. The shared filter calls it for presses in this widget's window.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void pressed(QWidget& target, const std::vector<Touch>& touches);
    void released(QWidget& target, const std::vector<Touch>& touches);

    std::unique_ptr<TrackingView> tracking_;
    // One press passes the filter once per widget it propagates through.
    quint64 lastPressTimestamp_ = 0;
    quint64 lastReleaseTimestamp_ = 0;
};

}  // namespace quarra::qt
