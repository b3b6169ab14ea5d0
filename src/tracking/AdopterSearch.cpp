#include "tracking/AdopterSearch.hpp"

namespace quarra {
namespace {

constexpr int kMaxDepth = 4096;

}  // namespace

std::shared_ptr<FieldTrackingProtocol> findFieldTrackingAdopter(const ViewNode* view) {
    for (int depth = 0; view != nullptr && depth < kMaxDepth; ++depth) {
        if (auto adopter = view->fieldTracking()) return adopter;
        view = view->superview();
    }
    return nullptr;
}

}  // namespace quarra
