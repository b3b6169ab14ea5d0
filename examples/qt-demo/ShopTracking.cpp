#include "ShopTracking.hpp"

#include <QApplication>

namespace demo {

ShopTracking::ShopTracking(QApplication& app, std::shared_ptr<const quarra::TrackingContext> context)
    : context_(std::move(context)),
      hooks_(context_),
      screens_(std::make_unique<quarra::qt::ScreenHooksFilter>(hooks_, app)) {
    new quarra::qt::PropertyTrackingFilter(app, context_);  // owned by the application
}

ShopTracking::~ShopTracking() = default;

}  // namespace demo
