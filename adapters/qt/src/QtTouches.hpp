#pragma once
// Qt's pointer events as the tracking controls take them.
#include <QMouseEvent>
#include <QPointingDevice>
#include <QTouchEvent>
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

inline bool isTouchEvent(QEvent::Type type) {
    return type == QEvent::TouchBegin || type == QEvent::TouchUpdate || type == QEvent::TouchEnd;
}

}  // namespace quarra::qt
