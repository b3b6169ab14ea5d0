#pragma once
// One view of the host's toolkit, as the tracking logic sees it. A toolkit
// adapter implements it over its widgets. The logic never keeps a ViewNode
// pointer beyond the call that handed it over. Main queue only.
#include <memory>
#include <string>
#include <vector>

#include <quarra/tracking/FieldTrackingProtocol.hpp>
#include <quarra/tracking/Touch.hpp>

namespace quarra {

class ViewNode {
public:
    virtual ~ViewNode() = default;

    // The enclosing view; null at the top of the tree.
    virtual ViewNode* superview() const { return nullptr; }
    // The view's tag holder when this view adopts FieldTrackingProtocol.
    virtual std::shared_ptr<FieldTrackingProtocol> fieldTracking() const { return nullptr; }
    // A stable, readable type name ("SubmitButton").
    virtual std::string className() const = 0;

    // Facts the hit test reads.
    virtual bool isHidden() const { return false; }
    virtual double alpha() const { return 1.0; }
    virtual bool pointInside(ViewPoint) const { return false; }
    // Back to front: the last one is drawn on top.
    virtual std::vector<ViewNode*> subviews() const { return {}; }
    // `point`, given in this view's coordinates, in the coordinates of `subview`.
    virtual ViewPoint convert(ViewPoint point, const ViewNode& subview) const {
        (void)subview;
        return point;
    }

    // The deepest view at `point` (this view's coordinates), or null. The
    // default is the toolkit's usual rule: nothing when hidden, nearly
    // transparent (alpha 0.01 or less) or outside; else the frontmost subview
    // that yields a view; else this view.
    virtual ViewNode* hitTest(ViewPoint point);
};

}  // namespace quarra
