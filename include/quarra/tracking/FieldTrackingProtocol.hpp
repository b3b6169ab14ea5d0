#pragma once
// What a host view adopts to have the fields inside it tracked by
// QuarraTextWatcher: a field tag.
#include <quarra/tracking/FieldTags.hpp>

namespace quarra {

class FieldTrackingProtocol {
public:
    virtual ~FieldTrackingProtocol() = default;
    virtual FieldTags fieldTag() const = 0;
    virtual void setFieldTag(FieldTags tag) = 0;
};

}  // namespace quarra
