#include <quarra/qt/TrackedFieldGroup.hpp>

#include "RawString.hpp"

namespace quarra::qt {
namespace {

class StoredFieldTag final : public FieldTrackingProtocol {
public:
    FieldTags fieldTag() const override { return tag_; }
    void setFieldTag(FieldTags tag) override { tag_ = tag; }

private:
    FieldTags tag_ = FieldTags::None;
};

}  // namespace

TrackedFieldGroup::TrackedFieldGroup(QWidget* parent) : QWidget(parent), tag_(std::make_shared<StoredFieldTag>()) {}

QString TrackedFieldGroup::fieldTag() const { return QString::fromUtf8(rawValue(tag_->fieldTag())); }

bool TrackedFieldGroup::setFieldTag(const QString& tag) {
    auto parsed = fieldTagsFromRawValue(tag.toStdString());
    if (!parsed) return false;
    if (*parsed == tag_->fieldTag()) return true;
    tag_->setFieldTag(*parsed);
    emit fieldTagChanged();
    return true;
}

Tags::Field TrackedFieldGroup::field() const { return Tags::fromLibrary(tag_->fieldTag()); }

void TrackedFieldGroup::setField(Tags::Field tag) { setFieldTag(rawString(rawValue(Tags::toLibrary(tag)))); }

}  // namespace quarra::qt
