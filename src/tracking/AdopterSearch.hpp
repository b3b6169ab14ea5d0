#pragma once
// Finding the view that carries a field tag for an edited field.
#include <memory>

#include <quarra/tracking/ViewNode.hpp>

namespace quarra {

// The view itself when it adopts FieldTrackingProtocol, else its nearest
// adopting ancestor; null when there is none. A chain deeper than any real
// view tree (or one that loops) counts as having none.
std::shared_ptr<FieldTrackingProtocol> findFieldTrackingAdopter(const ViewNode* view);

}  // namespace quarra
