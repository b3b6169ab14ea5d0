#pragma once
/**
 * @file
 * @brief A spin-wheel style list of choices that reports each period it was
 * visible through TrackingPickerView, labelled by its field tag.
 */
#include <quarra/qt/Export.hpp>
#include <quarra/qt/Tags.hpp>
#include <QListWidget>
#include <memory>

#include <quarra/tracking/TrackingContextRef.hpp>
#include <quarra/tracking/TrackingPickerView.hpp>

namespace quarra::qt {

/**
 * @brief A QListWidget that reports each period it was shown.
 *
 * A period begins when the picker is shown and ends, with a report, when it
 * is hidden or destroyed. A window minimised and restored is not a new
 * period.
 *
 * @par Thread
 * GUI thread only: made, used and destroyed there.
 * @par Lifetime
 * A QWidget: owned by its parent when given. Owns its TrackingPickerView. A
 * report handed off is delivered also when the picker is destroyed
 * meanwhile; after DataCollectorService::shutdown() reports are refused at
 * once.
 * @par Blocking
 * Never blocks: reports are handed to the library's worker.
 */
class QUARRA_QT_API TrackedPicker : public QListWidget {
    Q_OBJECT
    /// One of the field tag names ("LoginPickerView"); see FieldTags.
    Q_PROPERTY(QString fieldTag READ fieldTag WRITE setFieldTag NOTIFY fieldTagChanged)
    /// The same tag as a Q_ENUM (None also while the raw string is unknown).
    Q_PROPERTY(quarra::qt::Tags::Field field READ field WRITE setField NOTIFY fieldTagChanged)

public:
    /// A picker reporting through `context` (the shared one unless a test gives its own); its first period begins when it is shown.
    explicit TrackedPicker(QWidget* parent = nullptr,
                           std::shared_ptr<const TrackingContext> context = sharedTrackingContext());
    /// Ends and reports an open period, then destroys the tracking control.
    ~TrackedPicker() override;

    /// The field tag's raw string (TrackingPickerView::fieldTag()).
    QString fieldTag() const;
    /// Sets the field tag; any text other than a FieldTags raw string is reported once on the console, and no period is tracked.
    void setFieldTag(const QString& tag);
    /// The tracking control; valid as long as the widget.
    TrackingPickerView& tracking() { return *tracking_; }
    /// The tag as a Q_ENUM; None while fieldTag() is not a FieldTags raw string.
    Tags::Field field() const;
    /// Sets the tag from the Q_ENUM (its raw string, as setFieldTag()).
    void setField(Tags::Field tag);

signals:
    /// The tag changed (either property).
    void fieldTagChanged();

protected:
    /// Forwards touches to the control (kept, never reported); the base class
    /// then handles the event. An override calls this one.
    bool event(QEvent* event) override;
    /// The base class handles the show, then a period begins. An override calls this one.
    void showEvent(QShowEvent* event) override;
    /// The base class handles the hide, then the period ends and is reported. An override calls this one.
    void hideEvent(QHideEvent* event) override;

private:
    std::unique_ptr<TrackingPickerView> tracking_;
};

}  // namespace quarra::qt
