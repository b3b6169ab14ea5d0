#pragma once
// How the tracking logic sees a Qt widget tree: each widget gets a view node
// (made on first use, owned by the widget) whose superview is the parent
// widget, whose subviews are the child widgets, and whose class name is the
// meta-object's class name without namespace.
#include <memory>
#include <string>
#include <string_view>

#include <quarra/tracking/FieldTrackingProtocol.hpp>
#include <quarra/tracking/ViewNode.hpp>

class QObject;
class QWidget;

namespace quarra::qt {

// A widget class adopts FieldTrackingProtocol by also deriving from this:
// the text fields inside it then report with its tag (see TextWatcher).
class FieldTrackingAdopter {
public:
    virtual ~FieldTrackingAdopter() = default;
    virtual std::shared_ptr<FieldTrackingProtocol> fieldTracking() const = 0;
};

// GUI thread only. The node lives as long as the widget.
ViewNode& viewNodeFor(QWidget& widget);
// The widget a node made by this adapter stands for; null for other nodes.
QWidget* widgetOf(const ViewNode& node);

// "LoginScreen" for a demo::LoginScreen.
std::string unqualifiedClassName(const QObject& object);
// Qt's own classes ("QWidget", "QDialog"): a "Q" and a capital letter.
bool isToolkitClassName(std::string_view name);

}  // namespace quarra::qt
