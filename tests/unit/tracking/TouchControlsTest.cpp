#include <gtest/gtest.h>

#include <quarra/tracking/TrackingTableView.hpp>
#include <quarra/tracking/TrackingTableViewCell.hpp>
#include <quarra/tracking/TrackingView.hpp>

#include "unit/tracking/TrackingTestContext.hpp"

namespace quarra {
namespace {

using testing::TrackingHarness;

// A rectangle in its parent's coordinates, with subviews, as a toolkit lays it out.
class Box : public ViewNode {
public:
    Box(std::string name, double x, double y, double width, double height)
        : name_(std::move(name)), x_(x), y_(y), width_(width), height_(height) {}

    std::string className() const override { return name_; }
    bool isHidden() const override { return hidden; }
    double alpha() const override { return opacity; }
    bool pointInside(ViewPoint p) const override { return p.x >= 0 && p.y >= 0 && p.x < width_ && p.y < height_; }
    std::vector<ViewNode*> subviews() const override { return children; }
    ViewPoint convert(ViewPoint p, const ViewNode& subview) const override {
        const auto& box = static_cast<const Box&>(subview);
        return {p.x - box.x_, p.y - box.y_};
    }

    bool hidden = false;
    double opacity = 1.0;
    std::vector<ViewNode*> children;

private:
    std::string name_;
    double x_, y_, width_, height_;
};

// The adapter's node for a tracking view routes its hit test to the logic.
class TrackedBox final : public Box {
public:
    TrackedBox(const TrackingHarness& h) : Box("TrackedBox", 0, 0, 300, 300), tracking(*this, h.context) {}
    ViewNode* hitTest(ViewPoint p) override { return tracking.hitTest(p); }
    TrackingView tracking;
};

TEST(TrackingViewTest, HitTestRules) {
    struct Case {
        std::string name;
        bool hidden;
        double alpha;
        ViewPoint point;
        std::string expected;  // class name of the hit view, "" for none
    };
    const Case cases[] = {
        {"over the front subview", false, 1.0, {60, 60}, "FrontButton"},
        {"over the back subview only", false, 1.0, {15, 15}, "BackLabel"},
        {"over no subview", false, 1.0, {200, 200}, "TrackedBox"},
        {"outside", false, 1.0, {400, 10}, ""},
        {"hidden", true, 1.0, {60, 60}, ""},
        {"nearly transparent", false, 0.005, {60, 60}, ""},
        {"at the alpha limit", false, 0.01, {60, 60}, ""},
        {"just above the limit", false, 0.02, {60, 60}, "FrontButton"},
    };
    for (const auto& c : cases) {
        TrackingHarness h;
        TrackedBox view(h);
        Box back("BackLabel", 10, 10, 100, 100);
        Box front("FrontButton", 50, 50, 100, 100);
        view.children = {&back, &front};
        view.hidden = c.hidden;
        view.opacity = c.alpha;
        ViewNode* hit = view.hitTest(c.point);
        EXPECT_EQ(hit ? hit->className() : "", c.expected) << c.name;
    }
}

TEST(TrackingViewTest, TheTapLineIsWrittenOncePerPairOfHitTests) {
    TrackingHarness h;
    TrackedBox view(h);
    Box front("FrontButton", 50, 50, 100, 100);
    view.children = {&front};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(view.hitTest({60.5, 70}), &front);
    EXPECT_EQ(h.lines->lines(), (std::vector<std::string>{"Tap FrontButton at (60.5, 70.0)",
                                                          "Tap FrontButton at (60.5, 70.0)"}));
}

TEST(TrackingViewTest, TouchStartsAndEndsAreKept) {
    TrackingHarness h;
    TrackedBox view(h);
    view.tracking.touchesBegan({{0, {1, 2}}, {0, {5, 6}}});
    view.tracking.touchesEnded({{0, {7, 8}}});
    EXPECT_EQ(view.tracking.touchStartX(), 5);
    EXPECT_EQ(view.tracking.touchStartY(), 6);
    EXPECT_EQ(view.tracking.touchEndX(), 7);
    EXPECT_EQ(view.tracking.touchEndY(), 8);

    // After a hit that wrote the tap line, the end is not recorded, and the flag clears.
    Box front("FrontButton", 0, 0, 100, 100);
    view.children = {&front};
    view.hitTest({1, 1});
    view.tracking.touchesEnded({{0, {9, 9}}});
    EXPECT_EQ(view.tracking.touchEndX(), 7);
    EXPECT_FALSE(view.tracking.didLogSelectedView());
}

class ScrollingTable final : public TrackingTableView::Host {
public:
    std::string className() const override { return "Table"; }
    bool pointInside(ViewPoint p) const override { return p.x >= 0 && p.y >= 0 && p.x < 100 && p.y < 100; }
    ViewPoint contentOffset() const override { return offset; }
    ViewPoint offset;
};

TEST(TrackingTableViewTest, DragOffsetsAndTheHitMark) {
    ScrollingTable host;
    TrackingTableView table(host);
    EXPECT_EQ(table.hitTest({10, 10}), &host);
    EXPECT_EQ(table.hitTest({500, 10}), nullptr);
    EXPECT_TRUE(table.hitTestOnce());
    table.willBeginDragging();
    host.offset = {0, 240};
    table.willEndDragging();
    EXPECT_EQ(table.inX(), 0);
    EXPECT_EQ(table.inY(), 0);
    EXPECT_EQ(table.enX(), 0);
    EXPECT_EQ(table.enY(), 240);
    EXPECT_FALSE(table.hitTestOnce());
}

TEST(TrackingTableViewCellTest, KeepsTheFirstMovingTouchAndOnlyANibCellHasATapRecogniser) {
    Box view("Cell", 0, 0, 100, 40);
    TrackingTableViewCell cell(view);
    EXPECT_FALSE(cell.hasTapRecognizer());
    cell.awakeFromNib();
    EXPECT_TRUE(cell.hasTapRecognizer());
    cell.touchesMoved({{0.75, {12, 8}}, {0.1, {1, 1}}});
    cell.touchesMoved({});
    EXPECT_EQ(cell.touchForce(), 0.75);
    EXPECT_EQ(cell.touchPosition(), (ViewPoint{12, 8}));
}

}  // namespace
}  // namespace quarra
