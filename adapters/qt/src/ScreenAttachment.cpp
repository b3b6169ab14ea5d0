#include <QShowEvent>
#include <QVariant>

#include <quarra/qt/AttachedTracking.hpp>
#include <quarra/qt/TrackedScreens.hpp>
#include <quarra/tracking/EventsTrackerTableViewController.hpp>

#include "Attachments.hpp"
#include "RawString.hpp"

namespace quarra::qt {
namespace {

class TaggedController final : public EventsTrackerTableViewController {
public:
    using EventsTrackerTableViewController::EventsTrackerTableViewController;
    ScreenTags screenTag() const override { return tag; }
    ScreenTags tag = ScreenTags::None;
};

// Feeds any screen's shows and hides to a tagged controller, as
// TrackedTableScreen does from inside. It listens on its own widget, after
// the application-wide hooks, so the named exit still comes first.
class ScreenAttachment final : public QObject {
public:
    ScreenAttachment(QWidget& screen, std::shared_ptr<const TrackingContext> context)
        : QObject(&screen), screen_(screen), tracking_(std::make_unique<TaggedController>(std::move(context))) {
        setObjectName(QString::fromLatin1(kScreenAttachmentName));
        screen.installEventFilter(this);
    }
    // A screen destroyed while shown reports its exit with its tag.
    ~ScreenAttachment() override {
        if (shown_) tracking_->viewWillDisappear();
    }

    void setTag(ScreenTags tag) { tracking_->tag = tag; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        // A window minimised and restored by the window system is not a new visit.
        if (watched != &screen_ || event->spontaneous()) return false;
        if (event->type() == QEvent::Show && !shown_) {
            shown_ = true;
            tracking_->viewDidAppear();
        } else if (event->type() == QEvent::Hide && shown_) {
            shown_ = false;
            tracking_->viewWillDisappear();
        }
        return false;
    }

private:
    QWidget& screen_;  // the parent
    std::unique_ptr<TaggedController> tracking_;
    bool shown_ = false;
};

}  // namespace

bool attachScreen(QWidget& screen, const std::string& rawTag, std::shared_ptr<const TrackingContext> context) {
    // The tracked screen bases report their own visits already.
    if (qobject_cast<TrackedTableScreen*>(&screen) || qobject_cast<TrackedCollectionScreen*>(&screen)) return false;
    auto* attached = attachmentOf<ScreenAttachment>(screen, kScreenAttachmentName);
    if (!attached) attached = new ScreenAttachment(screen, std::move(context));  // owned by the screen
    attached->setTag(screenTagsFromRawValue(rawTag).value_or(ScreenTags::None));
    return true;
}

bool trackScreen(QWidget* screen, ScreenTags tag, std::shared_ptr<const TrackingContext> context) {
    if (!screen) return false;
    const QString raw = rawString(rawValue(tag));
    if (!attachScreen(*screen, raw.toStdString(), std::move(context))) return false;
    // The automatic hooks name a toolkit-class screen by this property.
    if (screen->property(kScreenTagProperty).toString() != raw) screen->setProperty(kScreenTagProperty, raw);
    return true;
}

}  // namespace quarra::qt
