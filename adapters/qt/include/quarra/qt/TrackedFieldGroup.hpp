#pragma once
// A container widget that adopts FieldTrackingProtocol: the line edits and
// text edits placed inside it report their typing with its field tag when a
// TextWatcher runs.
#include <QWidget>
#include <memory>

#include <quarra/qt/ViewNodes.hpp>

namespace quarra::qt {

class TrackedFieldGroup : public QWidget, public FieldTrackingAdopter {
    Q_OBJECT
    Q_PROPERTY(QString fieldTag READ fieldTag WRITE setFieldTag)

public:
    explicit TrackedFieldGroup(QWidget* parent = nullptr);

    // A field tag name ("Email"); any other text leaves the tag unchanged.
    QString fieldTag() const;
    bool setFieldTag(const QString& tag);
    std::shared_ptr<FieldTrackingProtocol> fieldTracking() const override { return tag_; }

private:
    std::shared_ptr<FieldTrackingProtocol> tag_;
};

}  // namespace quarra::qt
