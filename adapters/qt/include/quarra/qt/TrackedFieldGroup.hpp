#pragma once
/**
 * @file
 * @brief A container widget that adopts FieldTrackingProtocol: the line edits
 * and text edits placed inside it report their typing with its field tag when
 * a TextWatcher runs.
 */
#include <quarra/qt/Export.hpp>
#include <quarra/qt/Tags.hpp>
#include <QWidget>
#include <memory>

#include <quarra/qt/ViewNodes.hpp>

namespace quarra::qt {

/**
 * @brief A container whose field tag labels the typing in the editors inside it.
 *
 * @par Thread
 * GUI thread only: made, used and destroyed there.
 * @par Lifetime
 * A QWidget: owned by its parent when given. Its tag holder is shared: a
 * TextWatcher with an open period keeps it until the next period begins.
 * @par Blocking
 * Never blocks.
 */
class QUARRA_QT_API TrackedFieldGroup : public QWidget, public FieldTrackingAdopter {
    Q_OBJECT
    /// The field tag's raw string (see fieldTag()); settable from a .ui file.
    Q_PROPERTY(QString fieldTag READ fieldTag WRITE setFieldTag NOTIFY fieldTagChanged)
    /// The same tag as a Q_ENUM (None also while the raw string is unknown).
    Q_PROPERTY(quarra::qt::Tags::Field field READ field WRITE setField NOTIFY fieldTagChanged)

public:
    /// A group with the tag None ("Undefined").
    explicit TrackedFieldGroup(QWidget* parent = nullptr);

    /// The tag's raw string ("Undefined" for None).
    QString fieldTag() const;
    /// A FieldTags raw string ("BillingCity"); any other text leaves the tag
    /// unchanged and returns false.
    bool setFieldTag(const QString& tag);
    /// The group's tag holder.
    std::shared_ptr<FieldTrackingProtocol> fieldTracking() const override { return tag_; }
    /// The tag as a Q_ENUM; never unknown: the group keeps only known tags.
    Tags::Field field() const;
    /// Sets the tag from the Q_ENUM (its raw string, as setFieldTag()).
    void setField(Tags::Field tag);

signals:
    /// The tag changed (either property).
    void fieldTagChanged();

private:
    std::shared_ptr<FieldTrackingProtocol> tag_;
};

}  // namespace quarra::qt
