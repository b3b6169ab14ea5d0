#pragma once
/**
 * @file
 * @brief Base classes for a host's screens, one per tracked screen kind.
 *
 * A screen is a top-level window or a page of a QStackedWidget. Subclasses
 * declare Q_OBJECT (the automatic hooks name screens by their class) and
 * label their visits (TrackedTableScreen and TrackedCollectionScreen send
 * the label) either by the `tag` property, a Q_ENUM that Qt Designer offers
 * as a list for a promoted widget, or by overriding screenTag(), which then
 * decides.
 *
 * TrackedScreen records the last press or touch on it (also those that began
 * on a TrackedPushButton inside it) for the screen events of the session.
 * TrackedTableScreen and TrackedCollectionScreen report entering when shown
 * and leaving, with the visit's duration, when hidden.
 *
 * Shows and hides the window system causes on its own (a window minimised
 * and restored) are not visits and are ignored.
 */
#include <quarra/qt/Export.hpp>
#include <quarra/qt/Tags.hpp>
#include <QWidget>
#include <memory>

#include <quarra/tracking/EventsTrackerCollectionViewController.hpp>
#include <quarra/tracking/EventsTrackerTableViewController.hpp>
#include <quarra/tracking/EventsTrackerViewController.hpp>
#include <quarra/tracking/ScreenTags.hpp>
#include <quarra/tracking/TrackingContextRef.hpp>

namespace quarra::qt {

/**
 * @brief A screen that records the last press or touch on it, through EventsTrackerViewController.
 *
 * @par Thread
 * GUI thread only: made, used and destroyed there.
 * @par Lifetime
 * A QWidget: owned by its parent when given. Owns its tracking control; the
 * recorded touch lives in the tracking context and outlives the screen.
 * @par Blocking
 * Never blocks.
 */
class QUARRA_QT_API TrackedScreen : public QWidget {
    Q_OBJECT
    /// The screen's tag as a Q_ENUM; what screenTag() answers, so an override decides.
    Q_PROPERTY(quarra::qt::Tags::Screen tag READ tag WRITE setTag NOTIFY screenTagChanged)

public:
    /// A screen recording into `context` (the shared one unless a test gives its own).
    explicit TrackedScreen(QWidget* parent = nullptr,
                           std::shared_ptr<const TrackingContext> context = sharedTrackingContext());
    /// Forgets the touch's position when still shown, then destroys the tracking control.
    ~TrackedScreen() override;

    /// The screen's tag: the one set (None until then), unless the host overrides it. This screen kind sends no tagged events.
    virtual ScreenTags screenTag() const { return tag_; }
    /// screenTag() as a Q_ENUM.
    Tags::Screen tag() const { return Tags::fromLibrary(screenTag()); }
    /// Sets the tag screenTag() answers unless overridden; emits screenTagChanged() when it changes.
    void setTag(Tags::Screen tag) { setScreenTag(Tags::toLibrary(tag)); }
    /// Sets the tag screenTag() answers unless overridden; emits screenTagChanged() when it changes.
    void setScreenTag(ScreenTags tag);
    /// The tracking control; valid as long as the widget.
    EventsTrackerViewController& tracking() { return *tracking_; }

signals:
    /// The tag set changed (setTag(), setScreenTag() or the `tag` property).
    void screenTagChanged();

protected:
    /// Records a touch that begins on the screen; the base class then handles the event. An override calls this one.
    bool event(QEvent* event) override;
    /// The base class handles the show, then the control hears of it. An override calls this one.
    void showEvent(QShowEvent* event) override;
    /// The base class handles the hide, then the control forgets the touch's position. An override calls this one.
    void hideEvent(QHideEvent* event) override;
    /// Records a mouse press on the screen; the base class then handles it. An override calls this one.
    void mousePressEvent(QMouseEvent* event) override;

private:
    class Touches;
    std::unique_ptr<EventsTrackerViewController> tracking_;
    Touches* touches_;  // a child object of this widget
    ScreenTags tag_ = ScreenTags::None;
};

/**
 * @brief A table screen that reports its visits as coded events, through EventsTrackerTableViewController.
 *
 * @par Thread
 * GUI thread only: made, used and destroyed there.
 * @par Lifetime
 * A QWidget: owned by its parent when given. Owns its tracking control. A
 * screen destroyed while shown reports its exit with the tag it last gave. A
 * report handed off is delivered also when the screen is destroyed
 * meanwhile; after DataCollectorService::shutdown() reports are refused at
 * once.
 * @par Blocking
 * Never blocks: reports are handed to the library's worker.
 */
class QUARRA_QT_API TrackedTableScreen : public QWidget {
    Q_OBJECT
    /// The screen's tag as a Q_ENUM; what screenTag() answers, so an override decides.
    Q_PROPERTY(quarra::qt::Tags::Screen tag READ tag WRITE setTag NOTIFY screenTagChanged)

public:
    /// A screen reporting through `context` (the shared one unless a test gives its own).
    explicit TrackedTableScreen(QWidget* parent = nullptr,
                                std::shared_ptr<const TrackingContext> context = sharedTrackingContext());
    /// Reports the exit of a visit that is still shown, then destroys the tracking control.
    ~TrackedTableScreen() override;

    /// The screen's tag: the one set (None until then), unless the host overrides it. None reports nothing.
    virtual ScreenTags screenTag() const { return tag_; }
    /// screenTag() as a Q_ENUM.
    Tags::Screen tag() const { return Tags::fromLibrary(screenTag()); }
    /// Sets the tag screenTag() answers unless overridden; emits screenTagChanged() when it changes.
    /// Set it before the screen is shown: a visit is labelled as it began.
    void setTag(Tags::Screen tag) { setScreenTag(Tags::toLibrary(tag)); }
    /// Sets the tag screenTag() answers unless overridden, as setTag().
    void setScreenTag(ScreenTags tag);
    /// The tracking control; valid as long as the widget.
    EventsTrackerTableViewController& tracking() { return *tracking_; }

signals:
    /// The tag set changed (setTag(), setScreenTag() or the `tag` property).
    void screenTagChanged();

protected:
    /// The base class handles the show, then the enter event is sent. An override calls this one.
    void showEvent(QShowEvent* event) override;
    /// The base class handles the hide, then the exit event is sent. An override calls this one.
    void hideEvent(QHideEvent* event) override;

private:
    std::unique_ptr<EventsTrackerTableViewController> tracking_;
    ScreenTags tag_ = ScreenTags::None;
};

/**
 * @brief A collection screen that reports its visits as coded events, through EventsTrackerCollectionViewController.
 *
 * @par Thread
 * GUI thread only: made, used and destroyed there.
 * @par Lifetime
 * A QWidget: owned by its parent when given. Owns its tracking control. A
 * screen destroyed while shown reports its exit with the tag it last gave. A
 * report handed off is delivered also when the screen is destroyed
 * meanwhile; after DataCollectorService::shutdown() reports are refused at
 * once.
 * @par Blocking
 * Never blocks: reports are handed to the library's worker.
 */
class QUARRA_QT_API TrackedCollectionScreen : public QWidget {
    Q_OBJECT
    /// The screen's tag as a Q_ENUM; what screenTag() answers, so an override decides.
    Q_PROPERTY(quarra::qt::Tags::Screen tag READ tag WRITE setTag NOTIFY screenTagChanged)

public:
    /// A screen reporting through `context` (the shared one unless a test gives its own).
    explicit TrackedCollectionScreen(QWidget* parent = nullptr,
                                     std::shared_ptr<const TrackingContext> context = sharedTrackingContext());
    /// Reports the exit of a visit that is still shown, then destroys the tracking control.
    ~TrackedCollectionScreen() override;

    /// The screen's tag: the one set (None until then), unless the host overrides it. None reports nothing.
    virtual ScreenTags screenTag() const { return tag_; }
    /// screenTag() as a Q_ENUM.
    Tags::Screen tag() const { return Tags::fromLibrary(screenTag()); }
    /// Sets the tag screenTag() answers unless overridden; emits screenTagChanged() when it changes.
    /// Set it before the screen is shown: a visit is labelled as it began.
    void setTag(Tags::Screen tag) { setScreenTag(Tags::toLibrary(tag)); }
    /// Sets the tag screenTag() answers unless overridden, as setTag().
    void setScreenTag(ScreenTags tag);
    /// The tracking control; valid as long as the widget.
    EventsTrackerCollectionViewController& tracking() { return *tracking_; }

signals:
    /// The tag set changed (setTag(), setScreenTag() or the `tag` property).
    void screenTagChanged();

protected:
    /// The base class handles the show, then the enter event is sent. An override calls this one.
    void showEvent(QShowEvent* event) override;
    /// The base class handles the hide, then the exit event is sent. An override calls this one.
    void hideEvent(QHideEvent* event) override;

private:
    std::unique_ptr<EventsTrackerCollectionViewController> tracking_;
    ScreenTags tag_ = ScreenTags::None;
};

}  // namespace quarra::qt
