#pragma once
// The view node of one widget, a child object of it, so that it goes with it.
// `Base` is ViewNode or one of the richer node interfaces a control needs
// (a text field's host, a table's host).
#include <QObject>
#include <QRectF>
#include <QWidget>

#include <quarra/qt/ViewNodes.hpp>

namespace quarra::qt {

inline constexpr const char* kViewNodeObjectName = "quarra-view-node";

// Reached through dynamic_cast from any node this adapter made.
class WidgetBinding {
public:
    explicit WidgetBinding(QWidget& widget) : boundWidget(widget) {}
    virtual ~WidgetBinding() = default;
    QWidget& boundWidget;
};

// A widget that answers hit tests itself (a tracking widget, a table).
class HitTestRouter {
public:
    virtual ~HitTestRouter() = default;
    virtual ViewNode* routeHitTest(ViewPoint point) = 0;
};

template <class Base>
class WidgetNodeOf : public QObject, public Base, public WidgetBinding {
public:
    explicit WidgetNodeOf(QWidget& widget) : QObject(&widget), WidgetBinding(widget) {
        setObjectName(QString::fromLatin1(kViewNodeObjectName));
    }

    ViewNode* superview() const override {
        QWidget* parent = boundWidget.isWindow() ? nullptr : boundWidget.parentWidget();
        return parent ? &viewNodeFor(*parent) : nullptr;
    }
    std::shared_ptr<FieldTrackingProtocol> fieldTracking() const override {
        auto* adopter = dynamic_cast<const FieldTrackingAdopter*>(&boundWidget);
        return adopter ? adopter->fieldTracking() : nullptr;
    }
    std::string className() const override { return unqualifiedClassName(boundWidget); }
    bool isHidden() const override { return boundWidget.isHidden(); }
    double alpha() const override { return boundWidget.isWindow() ? boundWidget.windowOpacity() : 1.0; }
    bool pointInside(ViewPoint point) const override {
        return QRectF(boundWidget.rect()).contains(QPointF(point.x, point.y));
    }
    std::vector<ViewNode*> subviews() const override {
        std::vector<ViewNode*> nodes;
        for (QObject* child : boundWidget.children()) {
            auto* widget = qobject_cast<QWidget*>(child);
            if (widget && !widget->isWindow()) nodes.push_back(&viewNodeFor(*widget));
        }
        return nodes;
    }
    ViewPoint convert(ViewPoint point, const ViewNode& subview) const override {
        QWidget* widget = widgetOf(subview);
        if (!widget) return point;
        return ViewPoint{point.x - widget->x(), point.y - widget->y()};
    }
    ViewNode* hitTest(ViewPoint point) override {
        if (auto* router = dynamic_cast<HitTestRouter*>(&boundWidget)) return router->routeHitTest(point);
        return ViewNode::hitTest(point);
    }
};

using WidgetNode = WidgetNodeOf<ViewNode>;

// The node already made for `widget`, or null.
ViewNode* existingViewNode(const QWidget& widget);

}  // namespace quarra::qt
