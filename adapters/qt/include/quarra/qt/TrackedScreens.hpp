#pragma once
// Base classes for a host's screens, one per tracked screen kind. A screen is
// a top-level window or a page of a QStackedWidget. Subclasses declare
// Q_OBJECT (the automatic hooks name screens by their class) and override
// screenTag() to label their visits.
//
// TrackedScreen records the last press or touch on it (also those that began
// on a TrackedPushButton inside it) for the screen events of the session.
// TrackedTableScreen and TrackedCollectionScreen report entering when shown
// and leaving, with the visit's duration, when hidden.
#include <QWidget>
#include <memory>

#include <quarra/tracking/EventsTrackerCollectionViewController.hpp>
#include <quarra/tracking/EventsTrackerTableViewController.hpp>
#include <quarra/tracking/EventsTrackerViewController.hpp>
#include <quarra/tracking/ScreenTags.hpp>
#include <quarra/tracking/TrackingContextRef.hpp>

namespace quarra::qt {

class TrackedScreen : public QWidget {
    Q_OBJECT

public:
    explicit TrackedScreen(QWidget* parent = nullptr,
                           std::shared_ptr<const TrackingContext> context = sharedTrackingContext());
    ~TrackedScreen() override;

    virtual ScreenTags screenTag() const { return ScreenTags::None; }
    EventsTrackerViewController& tracking() { return *tracking_; }

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    class Touches;
    std::unique_ptr<EventsTrackerViewController> tracking_;
    Touches* touches_;  // a child object of this widget
};

class TrackedTableScreen : public QWidget {
    Q_OBJECT

public:
    explicit TrackedTableScreen(QWidget* parent = nullptr,
                                std::shared_ptr<const TrackingContext> context = sharedTrackingContext());
    ~TrackedTableScreen() override;

    virtual ScreenTags screenTag() const { return ScreenTags::None; }
    EventsTrackerTableViewController& tracking() { return *tracking_; }

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    std::unique_ptr<EventsTrackerTableViewController> tracking_;
};

class TrackedCollectionScreen : public QWidget {
    Q_OBJECT

public:
    explicit TrackedCollectionScreen(QWidget* parent = nullptr,
                                     std::shared_ptr<const TrackingContext> context = sharedTrackingContext());
    ~TrackedCollectionScreen() override;

    virtual ScreenTags screenTag() const { return ScreenTags::None; }
    EventsTrackerCollectionViewController& tracking() { return *tracking_; }

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    std::unique_ptr<EventsTrackerCollectionViewController> tracking_;
};

}  // namespace quarra::qt
