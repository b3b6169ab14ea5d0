#include <quarra/qt/ScreenOrientation.hpp>

#include <QGuiApplication>
#include <QScreen>
#include <atomic>
#include <memory>

namespace quarra::qt {
namespace {

DeviceOrientation fromQt(Qt::ScreenOrientation orientation) {
    switch (orientation) {
        case Qt::PortraitOrientation: return DeviceOrientation::portrait;
        case Qt::LandscapeOrientation: return DeviceOrientation::landscapeLeft;
        case Qt::InvertedPortraitOrientation: return DeviceOrientation::portraitUpsideDown;
        case Qt::InvertedLandscapeOrientation: return DeviceOrientation::landscapeRight;
        case Qt::PrimaryOrientation: break;
    }
    return DeviceOrientation::unknown;
}

}  // namespace

OrientationSource primaryScreenOrientation() {
    // Written on the GUI thread when the screen turns, read from any thread.
    auto current = std::make_shared<std::atomic<DeviceOrientation>>(DeviceOrientation::unknown);
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        current->store(fromQt(screen->orientation()));
        QObject::connect(screen, &QScreen::orientationChanged, screen,
                         [current](Qt::ScreenOrientation orientation) { current->store(fromQt(orientation)); });
    }
    return [current] { return current->load(); };
}

}  // namespace quarra::qt
