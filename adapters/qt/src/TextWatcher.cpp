#include <quarra/qt/TextWatcher.hpp>

#include <QApplication>
#include <QDynamicPropertyChangeEvent>
#include <QFocusEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QVariant>
#include <QWidget>

#include <quarra/qt/AttachedTracking.hpp>
#include <quarra/qt/TrackedLineEdit.hpp>
#include <quarra/qt/ViewNodes.hpp>

#include "Attachments.hpp"

namespace quarra::qt {
namespace {

enum class EditorKind { none, field, view };

EditorKind editorKind(QObject* object) {
    // A tracked line edit posts its own notifications.
    if (qobject_cast<TrackedLineEdit*>(object) || hasFieldAttachment(*object)) return EditorKind::none;
    if (qobject_cast<QLineEdit*>(object)) return EditorKind::field;
    if (qobject_cast<QTextEdit*>(object) || qobject_cast<QPlainTextEdit*>(object)) return EditorKind::view;
    return EditorKind::none;
}

// A context menu takes the focus and gives it back: the period goes on.
bool endsTheEditingPeriod(const QFocusEvent& event) { return event.reason() != Qt::PopupFocusReason; }

// The moments an editor's own tag can first be read: before it is shown, and
// whenever the host sets it.
bool mayCarryOwnTag(const QEvent& event) {
    if (event.type() == QEvent::Polish) return true;
    return event.type() == QEvent::DynamicPropertyChange &&
           static_cast<const QDynamicPropertyChangeEvent&>(event).propertyName() == kFieldTagProperty;
}

}  // namespace

TextWatcher::TextWatcher(QObject* parent, std::shared_ptr<const TrackingContext> context)
    : QObject(parent), context_(context), tracking_(std::make_unique<QuarraTextWatcher>(std::move(context))) {}

TextWatcher::~TextWatcher() { stopTracking(); }

void TextWatcher::startTracking() {
    tracking_->startTracking();
    if (!filtering_ && QCoreApplication::instance()) {
        QCoreApplication::instance()->installEventFilter(this);
        filtering_ = true;
        // Forms polished before the watcher started show no polish again.
        if (qobject_cast<QApplication*>(QCoreApplication::instance())) {
            for (QWidget* widget : QApplication::allWidgets()) adoptOwnTag(*widget);
        }
    }
}

void TextWatcher::stopTracking() {
    tracking_->stopTracking();
    if (filtering_ && QCoreApplication::instance()) QCoreApplication::instance()->removeEventFilter(this);
    filtering_ = false;
    disconnect(edits_);
    disconnect(gone_);
    editing_ = nullptr;
}

bool TextWatcher::eventFilter(QObject* watched, QEvent* event) {
    if (mayCarryOwnTag(*event)) {
        if (watched->isWidgetType()) adoptOwnTag(*static_cast<QWidget*>(watched));
        return false;
    }
    const bool focusIn = event->type() == QEvent::FocusIn;
    if (!focusIn && event->type() != QEvent::FocusOut) return false;
    const EditorKind kind = editorKind(watched);
    if (kind == EditorKind::none) return false;
    auto* widget = static_cast<QWidget*>(watched);
    if (focusIn) {
        if (editing_ == widget) return false;  // back from a context menu
        if (editing_) endPeriod(&viewNodeFor(*editing_));  // its focus went without a word
        beginPeriod(*widget, kind == EditorKind::field);
    } else if (editing_ == widget && endsTheEditingPeriod(static_cast<QFocusEvent&>(*event))) {
        endPeriod(&viewNodeFor(*widget));
    }
    return false;
}

// The control trackField() attaches, the one that also keeps the touch; the
// property route's filter may attach it too: the second attach only sets
// the tag. From then on this watcher hears the editor through that control.
void TextWatcher::adoptOwnTag(QWidget& editor) {
    const QVariant tag = editor.property(kFieldTagProperty);
    if (!tag.isValid()) return;
    if (editing_ == &editor && !hasFieldAttachment(editor)) {
        endPeriod(&viewNodeFor(editor));  // its end would no longer reach this filter
    }
    attachField(editor, tag.toString().toStdString(), context_);
}

// Delivered to this watcher alone: no other observer acts on these editors.
void TextWatcher::beginPeriod(QWidget& editor, bool field) {
    using Name = TextEditingNotificationName;
    editing_ = &editor;
    editingField_ = field;
    ViewNode* node = &viewNodeFor(editor);
    tracking_->textFieldDidBeginEditingNotification(
        {field ? Name::textFieldDidBeginEditing : Name::textViewDidBeginEditing, node});
    // An editor closed while the user types in it still ends its period.
    gone_ = connect(&editor, &QObject::destroyed, this, [this] { endPeriod(nullptr); });
    auto changed = [this, node, field] {
        tracking_->textFieldTextDidChange({field ? Name::textFieldDidChange : Name::textViewDidChange, node});
    };
    if (auto* line = qobject_cast<QLineEdit*>(&editor)) {
        edits_ = connect(line, &QLineEdit::textEdited, this, changed);
    } else if (auto* text = qobject_cast<QTextEdit*>(&editor)) {
        edits_ = connect(text, &QTextEdit::textChanged, this, changed);
    } else if (auto* plain = qobject_cast<QPlainTextEdit*>(&editor)) {
        edits_ = connect(plain, &QPlainTextEdit::textChanged, this, changed);
    }
}

void TextWatcher::endPeriod(ViewNode* node) {
    disconnect(edits_);
    disconnect(gone_);
    editing_ = nullptr;
    tracking_->textFieldDidEndEditingNotification(
        {editingField_ ? TextEditingNotificationName::textFieldDidEndEditing
                       : TextEditingNotificationName::textViewDidEndEditing,
         node});
}

}  // namespace quarra::qt
