#pragma once
/**
 * @file
 * @brief How the tracking logic sees a Qt widget tree.
 *
 * Each widget gets a view node (made on first use, owned by the widget) whose
 * superview is the parent widget, whose subviews are the child widgets, and
 * whose class name is the meta-object's class name without namespace.
 */
#include <quarra/qt/Export.hpp>
#include <memory>
#include <string>
#include <string_view>

#include <quarra/tracking/FieldTrackingProtocol.hpp>
#include <quarra/tracking/ViewNode.hpp>

class QObject;
class QWidget;

namespace quarra::qt {

/**
 * @brief A widget class adopts FieldTrackingProtocol by also deriving from this.
 *
 * The text fields inside it then report with its tag (see TextWatcher).
 *
 * @par Thread
 * GUI thread only.
 * @par Lifetime
 * The tag holder is shared: a watcher with an open period keeps it until the
 * next period begins.
 * @par Blocking
 * fieldTracking() must not block.
 */
class QUARRA_QT_API FieldTrackingAdopter {
public:
    /// Destroyed with the widget.
    virtual ~FieldTrackingAdopter() = default;
    /// The widget's tag holder; never null.
    virtual std::shared_ptr<FieldTrackingProtocol> fieldTracking() const = 0;
};

/**
 * @brief The view node of `widget`, made on first use.
 *
 * @par Thread
 * GUI thread only.
 * @par Lifetime
 * The node is a child object of the widget and lives as long as the widget.
 * @par Blocking
 * Never blocks.
 */
QUARRA_QT_API ViewNode& viewNodeFor(QWidget& widget);

/**
 * @brief The widget a node made by this adapter stands for; null for other nodes.
 *
 * @par Thread
 * GUI thread only.
 * @par Lifetime
 * The widget is valid as long as the node.
 * @par Blocking
 * Never blocks.
 */
QUARRA_QT_API QWidget* widgetOf(const ViewNode& node);

/**
 * @brief The meta-object's class name without namespace: "LoginScreen" for a demo::LoginScreen.
 *
 * @par Thread
 * Any thread that may use `object`.
 * @par Lifetime
 * Keeps nothing.
 * @par Blocking
 * Never blocks.
 */
QUARRA_QT_API std::string unqualifiedClassName(const QObject& object);

/**
 * @brief Whether `name` is one of Qt's own classes ("QWidget", "QDialog"): a "Q" and a capital letter.
 *
 * @par Thread
 * Any thread.
 * @par Lifetime
 * Keeps nothing.
 * @par Blocking
 * Never blocks.
 */
QUARRA_QT_API bool isToolkitClassName(std::string_view name);

}  // namespace quarra::qt
