#pragma once
// The application-wide halves of tracking, both on the shop's context: the
// filter that reads the quarra* properties of the .ui forms, and the hooks
// that name every screen shown. The hooks start with the session.
#include <memory>

#include <quarra/qt/AttachedTracking.hpp>
#include <quarra/qt/ScreenTracking.hpp>
#include <quarra/tracking/ScreenAppearanceHooks.hpp>

class QApplication;

namespace demo {

class ShopTracking {
public:
    // Install before the forms are built: the filter reads their properties as they are set.
    ShopTracking(QApplication& app, std::shared_ptr<const quarra::TrackingContext> context);
    ~ShopTracking();

    const std::shared_ptr<const quarra::TrackingContext>& context() const { return context_; }
    // The first online session switches the screen hooks on.
    void sessionStarted() { hooks_.install(); }

private:
    std::shared_ptr<const quarra::TrackingContext> context_;
    quarra::ScreenAppearanceHooks hooks_;
    std::unique_ptr<quarra::qt::ScreenHooksFilter> screens_;  // goes before the hooks it feeds
};

}  // namespace demo
