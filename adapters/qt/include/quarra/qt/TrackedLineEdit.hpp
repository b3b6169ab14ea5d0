#pragma once
// A QLineEdit that measures its editing periods with TrackingTextField:
// focus in begins a period, each edit by the user is a text change, focus
// out ends it and reports. Clicks and taps count as taps; the last touch (or
// mouse press) gives force and position. The typed text never leaves it.
#include <QLineEdit>
#include <memory>

#include <quarra/tracking/TrackingContextRef.hpp>
#include <quarra/tracking/TrackingTextField.hpp>

namespace quarra::qt {

class TrackedLineEdit : public QLineEdit {
    Q_OBJECT
    // One of the field tag names ("Password"); see FieldTags.
    Q_PROPERTY(QString fieldTag READ fieldTag WRITE setFieldTag)

public:
    explicit TrackedLineEdit(QWidget* parent = nullptr,
                             std::shared_ptr<const TrackingContext> context = sharedTrackingContext());
    ~TrackedLineEdit() override;

    QString fieldTag() const;
    void setFieldTag(const QString& tag);
    TrackingTextField& tracking() { return *tracking_; }

protected:
    bool event(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    class Host;
    Host* host_;  // a child object of this widget
    std::unique_ptr<TrackingTextField> tracking_;
    bool editing_ = false;  // between the focus coming and going
};

}  // namespace quarra::qt
