#pragma once
// A spin-wheel style list of choices that reports each period it was
// visible through TrackingPickerView, labelled by its field tag.
#include <QListWidget>
#include <memory>

#include <quarra/tracking/TrackingContextRef.hpp>
#include <quarra/tracking/TrackingPickerView.hpp>

namespace quarra::qt {

class TrackedPicker : public QListWidget {
    Q_OBJECT
    Q_PROPERTY(QString fieldTag READ fieldTag WRITE setFieldTag)

public:
    explicit TrackedPicker(QWidget* parent = nullptr,
                           std::shared_ptr<const TrackingContext> context = sharedTrackingContext());
    ~TrackedPicker() override;

    QString fieldTag() const;
    void setFieldTag(const QString& tag);
    TrackingPickerView& tracking() { return *tracking_; }

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    std::unique_ptr<TrackingPickerView> tracking_;
};

}  // namespace quarra::qt
