#include <QFocusEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

#include <quarra/qt/AttachedTracking.hpp>
#include <quarra/qt/TrackedLineEdit.hpp>
#include <quarra/tracking/TrackingTextField.hpp>

#include "Attachments.hpp"
#include "QtTouches.hpp"
#include "WidgetNode.hpp"

namespace quarra::qt {
namespace {

// Feeds a plain editor's focus, edits and presses to a TrackingTextField, as
// TrackedLineEdit does from inside; it listens on the editor (and a text
// view's viewport, which gets the presses) only.
class FieldAttachment final : public WidgetNodeOf<TrackingTextField::Host> {
public:
    FieldAttachment(QWidget& editor, std::shared_ptr<const TrackingContext> context)
        : WidgetNodeOf(editor), tracking_(std::make_unique<TrackingTextField>(*this, std::move(context))) {
        setObjectName(QString::fromLatin1(kFieldAttachmentName));
        editor.setAttribute(Qt::WA_AcceptTouchEvents);
        editor.installEventFilter(this);
        auto changed = [this] { tracking_->textDidChange(); };
        if (auto* line = qobject_cast<QLineEdit*>(&editor)) {
            connect(line, &QLineEdit::textEdited, this, changed);
        } else if (auto* text = qobject_cast<QTextEdit*>(&editor)) {
            connect(text, &QTextEdit::textChanged, this, changed);
            viewport_ = text->viewport();
        } else if (auto* plain = qobject_cast<QPlainTextEdit*>(&editor)) {
            connect(plain, &QPlainTextEdit::textChanged, this, changed);
            viewport_ = plain->viewport();
        }
        if (viewport_) viewport_->installEventFilter(this);
    }
    // A field closed while the user types in it still reports that period.
    // By now the editor is only a QWidget: text() answers "" (never reported).
    ~FieldAttachment() override {
        if (editing_) tracking_->editingDidEnd();
        tracking_.reset();
    }

    void setTag(const std::string& tag) { tracking_->setFieldTag(tag); }

    bool isEditing() const override { return boundWidget.hasFocus(); }
    std::string text() const override {
        if (auto* line = qobject_cast<QLineEdit*>(&boundWidget)) return line->text().toStdString();
        if (auto* text = qobject_cast<QTextEdit*>(&boundWidget)) return text->toPlainText().toStdString();
        if (auto* plain = qobject_cast<QPlainTextEdit*>(&boundWidget)) return plain->toPlainText().toStdString();
        return {};
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != &boundWidget && watched != viewport_) return false;
        if (auto contact = pointerContact(*event)) tracking_->touchesMoved(contact->touches);
        switch (event->type()) {
            case QEvent::FocusIn:
                // A window still activating can give the focus before hasFocus() holds;
                // the next focus-in then begins the period.
                if (watched == &boundWidget && !tracking_->shouldEndEditing()) {
                    editing_ = true;
                    tracking_->editingDidBegin();
                }
                break;
            case QEvent::FocusOut:
                // A context menu takes the focus and gives it back: the period goes on.
                if (watched == &boundWidget && editing_ &&
                    static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) {
                    editing_ = false;
                    tracking_->editingDidEnd();
                }
                break;
            case QEvent::MouseButtonRelease: {
                auto* widget = static_cast<QWidget*>(watched);
                if (widget->rect().contains(static_cast<QMouseEvent*>(event)->position().toPoint())) {
                    tracking_->viewTapped();
                }
                break;
            }
            default: break;
        }
        return false;
    }

private:
    std::unique_ptr<TrackingTextField> tracking_;
    QWidget* viewport_ = nullptr;  // a child of the editor
    bool editing_ = false;
};

// A TrackedLineEdit measures itself already.
bool isEditor(const QWidget& widget) {
    if (qobject_cast<const TrackedLineEdit*>(&widget)) return false;
    return qobject_cast<const QLineEdit*>(&widget) || qobject_cast<const QTextEdit*>(&widget) ||
           qobject_cast<const QPlainTextEdit*>(&widget);
}

}  // namespace

bool attachField(QWidget& editor, const std::string& rawTag, std::shared_ptr<const TrackingContext> context) {
    if (!isEditor(editor)) return false;
    auto* field = attachmentOf<FieldAttachment>(editor, kFieldAttachmentName);
    if (!field) field = new FieldAttachment(editor, std::move(context));  // owned by the editor
    field->setTag(rawTag);
    return true;
}

bool trackField(QWidget* editor, FieldTags tag, std::shared_ptr<const TrackingContext> context) {
    return editor && attachField(*editor, std::string(rawValue(tag)), std::move(context));
}

}  // namespace quarra::qt
