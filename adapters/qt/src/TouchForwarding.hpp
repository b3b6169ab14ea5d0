#pragma once
// Touches that began on a control also reach the screen or tracking widget
// around it, as the next responder, in that receiver's coordinates.
#include <QWidget>
#include <vector>

#include <quarra/tracking/Touch.hpp>

namespace quarra::qt {

inline constexpr const char* kTouchReceiverObjectName = "quarra-touch-receiver";

// A child object of the receiving widget, named kTouchReceiverObjectName.
class TouchReceiver {
public:
    virtual ~TouchReceiver() = default;
    // Locations in the receiver's own coordinates.
    virtual void receiveTouchesBegan(const std::vector<Touch>& touches) = 0;
};

// Hands `touches` (in `from`'s coordinates) to the nearest ancestor of `from`
// that receives touches; nothing when there is none.
inline void forwardTouchesBegan(const QWidget& from, const std::vector<Touch>& touches) {
    for (QWidget* ancestor = from.parentWidget(); ancestor; ancestor = ancestor->parentWidget()) {
        TouchReceiver* receiver = nullptr;
        for (QObject* child : ancestor->children()) {
            if (child->objectName() == QLatin1String(kTouchReceiverObjectName)) {
                receiver = dynamic_cast<TouchReceiver*>(child);
                if (receiver) break;
            }
        }
        if (!receiver) continue;
        std::vector<Touch> mapped = touches;
        for (auto& touch : mapped) {
            QPointF point = from.mapTo(ancestor, QPointF(touch.location.x, touch.location.y));
            touch.location = ViewPoint{point.x(), point.y()};
        }
        receiver->receiveTouchesBegan(mapped);
        return;
    }
}

}  // namespace quarra::qt
