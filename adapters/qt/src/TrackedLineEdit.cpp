#include <quarra/qt/TrackedLineEdit.hpp>

#include <QFocusEvent>

#include "QtTouches.hpp"
#include "RawString.hpp"
#include "WidgetNode.hpp"

namespace quarra::qt {
namespace {

// A context menu takes the focus and gives it back to the same field: the
// editing period goes on. Leaving the window ends it; coming back begins a
// new one.
bool endsTheEditingPeriod(const QFocusEvent& event) { return event.reason() != Qt::PopupFocusReason; }

}  // namespace

class TrackedLineEdit::Host final : public WidgetNodeOf<TrackingTextField::Host> {
public:
    explicit Host(TrackedLineEdit& field) : WidgetNodeOf(field), field_(field) {}
    bool isEditing() const override { return field_.hasFocus(); }
    std::string text() const override { return field_.text().toStdString(); }

private:
    TrackedLineEdit& field_;
};

TrackedLineEdit::TrackedLineEdit(QWidget* parent, std::shared_ptr<const TrackingContext> context)
    : QLineEdit(parent), host_(new Host(*this)), tracking_(std::make_unique<TrackingTextField>(*host_, std::move(context))) {
    setAttribute(Qt::WA_AcceptTouchEvents);
    connect(this, &QLineEdit::textEdited, this, [this] { tracking_->textDidChange(); });
}

// A field closed while the user types in it still reports that period. The
// tracking field goes before its host, which the QObject tree deletes.
TrackedLineEdit::~TrackedLineEdit() {
    if (editing_) tracking_->editingDidEnd();
    tracking_.reset();
}

QString TrackedLineEdit::fieldTag() const { return QString::fromStdString(tracking_->fieldTag()); }
void TrackedLineEdit::setFieldTag(const QString& tag) {
    if (tag == fieldTag()) return;
    tracking_->setFieldTag(tag.toStdString());
    emit fieldTagChanged();
}

Tags::Field TrackedLineEdit::field() const {
    return Tags::fromLibrary(fieldTagsFromRawValue(tracking_->fieldTag()).value_or(FieldTags::None));
}

void TrackedLineEdit::setField(Tags::Field tag) { setFieldTag(rawString(rawValue(Tags::toLibrary(tag)))); }

bool TrackedLineEdit::event(QEvent* event) {
    if (auto contact = pointerContact(*event)) tracking_->touchesMoved(contact->touches);
    return QLineEdit::event(event);
}

void TrackedLineEdit::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    // A dialog still activating can give the focus before hasFocus() holds,
    // so no period began: the next focus-in begins it.
    if (editing_ && tracking_->shouldEndEditing()) return;
    editing_ = true;
    tracking_->editingDidBegin();
}

void TrackedLineEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    if (!editing_ || !endsTheEditingPeriod(*event)) return;
    editing_ = false;
    tracking_->editingDidEnd();
}

void TrackedLineEdit::mouseReleaseEvent(QMouseEvent* event) {
    QLineEdit::mouseReleaseEvent(event);
    if (rect().contains(event->position().toPoint())) tracking_->viewTapped();
}

}  // namespace quarra::qt
