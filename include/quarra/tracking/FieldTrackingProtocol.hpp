#pragma once
/**
 * @file
 * @brief What a host view adopts to have the fields inside it tracked by
 * QuarraTextWatcher: a field tag.
 */
#include <quarra/Export.hpp>
#include <quarra/tracking/FieldTags.hpp>

namespace quarra {

/**
 * @brief A view's field tag, for the text fields inside it.
 *
 * A view offers one through ViewNode::fieldTracking(); QuarraTextWatcher
 * labels an editing period with the tag of the nearest enclosing adopter.
 *
 * @par Thread
 * The library calls it on the main queue only.
 * @par Lifetime
 * Shared: QuarraTextWatcher keeps the adopter of the open period until the
 * next period begins.
 * @par Blocking
 * Members must not block.
 */
class QUARRA_API FieldTrackingProtocol {
public:
    /// Destroyed by whoever holds the last reference.
    virtual ~FieldTrackingProtocol() = default;
    /// The tag the fields inside report with; read when an editing period ends.
    virtual FieldTags fieldTag() const = 0;
    /// Changes the tag.
    virtual void setFieldTag(FieldTags tag) = 0;
};

}  // namespace quarra
