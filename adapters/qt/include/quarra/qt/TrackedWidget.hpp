#pragma once
// A container widget that records, through TrackingView, where presses and
// touches on it or anything inside it start and end, and prints which child
// a tap selected. It sends nothing.
#include <QWidget>
#include <memory>

#include <quarra/tracking/TrackingContextRef.hpp>
#include <quarra/tracking/TrackingView.hpp>

namespace quarra::qt {

class TrackedWidget : public QWidget {
    Q_OBJECT

public:
    explicit TrackedWidget(QWidget* parent = nullptr,
                           std::shared_ptr<const TrackingContext> context = sharedTrackingContext());
    ~TrackedWidget() override;

    TrackingView& tracking() { return *tracking_; }

protected:
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
