#include <quarra/qt/ViewNodes.hpp>

#include <QMetaObject>

#include "WidgetNode.hpp"

namespace quarra::qt {

ViewNode* existingViewNode(const QWidget& widget) {
    for (QObject* child : widget.children()) {
        if (child->objectName() != QLatin1String(kViewNodeObjectName)) continue;
        if (auto* node = dynamic_cast<ViewNode*>(child)) return node;
    }
    return nullptr;
}

ViewNode& viewNodeFor(QWidget& widget) {
    if (ViewNode* node = existingViewNode(widget)) return *node;
    return *new WidgetNode(widget);  // owned by the widget
}

QWidget* widgetOf(const ViewNode& node) {
    auto* binding = dynamic_cast<const WidgetBinding*>(&node);
    return binding ? &binding->boundWidget : nullptr;
}

std::string unqualifiedClassName(const QObject& object) {
    std::string name = object.metaObject()->className();
    auto separator = name.rfind("::");
    return separator == std::string::npos ? name : name.substr(separator + 2);
}

bool isToolkitClassName(std::string_view name) {
    return name.size() >= 2 && name[0] == 'Q' && name[1] >= 'A' && name[1] <= 'Z';
}

}  // namespace quarra::qt
