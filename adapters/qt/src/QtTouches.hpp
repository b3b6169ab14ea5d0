#pragma once
// Qt's pointer events as the tracking controls take them.
#include <QMouseEvent>
#include <QPointingDevice>
#include <QTouchEvent>
#include <optional>
#include <vector>

#include <quarra/tracking/Touch.hpp>

namespace quarra::qt {

// Every point of a touch event, in the receiving widget's coordinates, with
// the touch's pressure as its force.
inline std::vector<Touch> touchesIn(const QTouchEvent& event) {
    std::vector<Touch> touches;
    for (const QEventPoint& point : event.points()) {
        touches.push_back(Touch{point.pressure(), ViewPoint{point.position().x(), point.position().y()}});
    }
    return touches;
}

// A mouse has no force.
inline std::vector<Touch> mouseTouch(const QMouseEvent& event) {
    return {Touch{0.0, ViewPoint{event.position().x(), event.position().y()}}};
}

// False for the mouse events Qt makes from touches: the touch already counted.
inline bool isFromMouse(const QMouseEvent& event) {
    const QPointingDevice* device = event.pointingDevice();
    return device == nullptr || device->type() == QInputDevice::DeviceType::Mouse;
}

// A pointer pressing, or moving while pressed: a touch, or a real mouse.
struct PointerContact {
    std::vector<Touch> touches;
    bool begins = false;  // the press itself
};

inline std::optional<PointerContact> pointerContact(const QEvent& event) {
    switch (event.type()) {
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
            return PointerContact{touchesIn(static_cast<const QTouchEvent&>(event)),
                                  event.type() == QEvent::TouchBegin};
        case QEvent::MouseButtonPress:
        case QEvent::MouseMove: {
            const auto& mouse = static_cast<const QMouseEvent&>(event);
            if (!isFromMouse(mouse)) return std::nullopt;
            if (event.type() == QEvent::MouseMove && mouse.buttons() == Qt::NoButton) return std::nullopt;
            return PointerContact{mouseTouch(mouse), event.type() == QEvent::MouseButtonPress};
        }
        default: return std::nullopt;
    }
}

inline bool isTouchEvent(QEvent::Type type) {
    return type == QEvent::TouchBegin || type == QEvent::TouchUpdate || type == QEvent::TouchEnd;
}

}  // namespace quarra::qt
