#include <quarra/qt/TrackedScreens.hpp>

#include <QShowEvent>

#include "QtTouches.hpp"
#include "TouchForwarding.hpp"

namespace quarra::qt {
namespace {

// The screen logic, asking the widget for its tag. While the widget is being
// destroyed its subclass (which overrides the tag) is already gone, so the
// last tag it gave stands for it.
template <class Controller, class Screen>
class TaggedBy final : public Controller {
public:
    TaggedBy(const Screen& screen, std::shared_ptr<const TrackingContext> context)
        : Controller(std::move(context)), screen_(screen) {}
    ScreenTags screenTag() const override {
        if (!closing_) lastTag_ = screen_.screenTag();
        return lastTag_;
    }
    void closing() { closing_ = true; }

private:
    const Screen& screen_;
    mutable ScreenTags lastTag_ = ScreenTags::None;
    bool closing_ = false;
};

// A window minimised and restored by the window system is not a new visit.
template <class Controller>
void forwardShow(const QShowEvent& event, Controller& controller) {
    if (!event.spontaneous()) controller.viewDidAppear();
}

template <class Controller>
void forwardHide(const QHideEvent& event, Controller& controller) {
    if (!event.spontaneous()) controller.viewWillDisappear();
}

// A screen closed while shown ends its visit, tagged as it was shown.
template <class Controller, class Screen>
void closeVisit(Controller& controller, const Screen& screen) {
    static_cast<TaggedBy<Controller, Screen>&>(controller).closing();
    if (screen.isVisible()) controller.viewWillDisappear();
}

}  // namespace

// ---- TrackedScreen ----

// Receives the touches forwarded by controls inside the screen.
class TrackedScreen::Touches final : public QObject, public TouchReceiver {
public:
    explicit Touches(TrackedScreen& screen) : QObject(&screen), screen_(screen) {
        setObjectName(QString::fromLatin1(kTouchReceiverObjectName));
    }
    void receiveTouchesBegan(const std::vector<Touch>& touches) override { screen_.tracking_->touchesBegan(touches); }

private:
    TrackedScreen& screen_;
};

TrackedScreen::TrackedScreen(QWidget* parent, std::shared_ptr<const TrackingContext> context)
    : QWidget(parent), tracking_(std::make_unique<TaggedBy<EventsTrackerViewController, TrackedScreen>>(*this, std::move(context))), touches_(new Touches(*this)) {
    setAttribute(Qt::WA_AcceptTouchEvents);
}

TrackedScreen::~TrackedScreen() { closeVisit(*tracking_, *this); }

void TrackedScreen::setScreenTag(ScreenTags tag) {
    if (tag == tag_) return;
    tag_ = tag;
    emit screenTagChanged();
}

bool TrackedScreen::event(QEvent* event) {
    if (event->type() == QEvent::TouchBegin) tracking_->touchesBegan(touchesIn(static_cast<QTouchEvent&>(*event)));
    return QWidget::event(event);
}

void TrackedScreen::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    forwardShow(*event, *tracking_);
}

void TrackedScreen::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    forwardHide(*event, *tracking_);
}

void TrackedScreen::mousePressEvent(QMouseEvent* event) {
    if (isFromMouse(*event)) tracking_->touchesBegan(mouseTouch(*event));
    QWidget::mousePressEvent(event);
}

// ---- TrackedTableScreen ----

TrackedTableScreen::TrackedTableScreen(QWidget* parent, std::shared_ptr<const TrackingContext> context)
    : QWidget(parent), tracking_(std::make_unique<TaggedBy<EventsTrackerTableViewController, TrackedTableScreen>>(*this, std::move(context))) {}

TrackedTableScreen::~TrackedTableScreen() { closeVisit(*tracking_, *this); }

void TrackedTableScreen::setScreenTag(ScreenTags tag) {
    if (tag == tag_) return;
    tag_ = tag;
    emit screenTagChanged();
}

void TrackedTableScreen::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    forwardShow(*event, *tracking_);
}

void TrackedTableScreen::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    forwardHide(*event, *tracking_);
}

// ---- TrackedCollectionScreen ----

TrackedCollectionScreen::TrackedCollectionScreen(QWidget* parent, std::shared_ptr<const TrackingContext> context)
    : QWidget(parent), tracking_(std::make_unique<TaggedBy<EventsTrackerCollectionViewController, TrackedCollectionScreen>>(*this, std::move(context))) {}

TrackedCollectionScreen::~TrackedCollectionScreen() { closeVisit(*tracking_, *this); }

void TrackedCollectionScreen::setScreenTag(ScreenTags tag) {
    if (tag == tag_) return;
    tag_ = tag;
    emit screenTagChanged();
}

void TrackedCollectionScreen::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    forwardShow(*event, *tracking_);
}

void TrackedCollectionScreen::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    forwardHide(*event, *tracking_);
}

}  // namespace quarra::qt
