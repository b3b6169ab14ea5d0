#pragma once
/**
 * @file
 * @brief One view of the host's toolkit, as the tracking logic sees it.
 */
#include <quarra/Export.hpp>
#include <memory>
#include <string>
#include <vector>

#include <quarra/tracking/FieldTrackingProtocol.hpp>
#include <quarra/tracking/Touch.hpp>

namespace quarra {

/**
 * @brief One view of the host's toolkit, as the tracking logic sees it.
 *
 * A toolkit adapter implements it over its widgets (quarra::qt::viewNodeFor()
 * for Qt). The defaults describe a visible, opaque view that contains no
 * point and has no subviews.
 *
 * @par Thread
 * Main queue only.
 * @par Lifetime
 * Owned by the adapter. The logic never keeps a ViewNode pointer beyond the
 * call that handed it over, except for the controls that are given one to
 * stand for (TrackingView, TrackingTableViewCell, TrackingTextField,
 * TrackingTableView), which it must outlive.
 * @par Blocking
 * Members must not block.
 */
class QUARRA_API ViewNode {
public:
    /// Destroyed by its adapter.
    virtual ~ViewNode() = default;

    /// The enclosing view; null at the top of the tree.
    virtual ViewNode* superview() const { return nullptr; }
    /// The view's tag holder when this view adopts FieldTrackingProtocol; null otherwise.
    virtual std::shared_ptr<FieldTrackingProtocol> fieldTracking() const { return nullptr; }
    /// A stable, readable type name ("SubmitButton").
    virtual std::string className() const = 0;

    /** @name Facts the hit test reads */
    //@{
    /// Whether the view is hidden.
    virtual bool isHidden() const { return false; }
    /// The view's opacity, 0 to 1.
    virtual double alpha() const { return 1.0; }
    /// Whether the point (this view's coordinates) lies inside the view.
    virtual bool pointInside(ViewPoint) const { return false; }
    /// The child views, back to front: the last one is drawn on top.
    virtual std::vector<ViewNode*> subviews() const { return {}; }
    /// `point`, given in this view's coordinates, in the coordinates of `subview`.
    virtual ViewPoint convert(ViewPoint point, const ViewNode& subview) const {
        (void)subview;
        return point;
    }
    //@}

    /// The deepest view at `point` (this view's coordinates), or null.
    ///
    /// The default is the toolkit's usual rule: nothing when hidden, nearly
    /// transparent (alpha 0.01 or less) or outside; else the frontmost
    /// subview that yields a view; else this view.
    virtual ViewNode* hitTest(ViewPoint point);
};

}  // namespace quarra
