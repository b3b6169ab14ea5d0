#pragma once
// Shared pieces of the Qt adapter tests.
#include <QApplication>
#include <QTest>
#include <QWidget>
#include <string>
#include <vector>

#include <quarra/Json.hpp>
#include <quarra/qt/ScreenTracking.hpp>
#include <quarra/tracking/ScreenAppearanceHooks.hpp>

#include "TrackingTestContext.hpp"

namespace quarra::qt::testing {

// Shows `window` and makes it the active window, so that focus moves.
inline bool showActive(QWidget& window) {
    window.show();
    QApplication::setActiveWindow(&window);
    return QTest::qWaitForWindowActive(&window);
}

inline std::vector<std::string> valuesOf(const std::vector<JSONDictionary>& reports, const std::string& key) {
    std::vector<std::string> values;
    for (const auto& report : reports) values.push_back(report.contains(key) ? report[key].get<std::string>() : "");
    return values;
}

// The application-wide screen hooks, installed on a harness of their own.
struct HookedApp {
    HookedApp() : hooks(h.context), filter(hooks, *QCoreApplication::instance()) { hooks.install(); }
    std::vector<std::string> eventTypes() const { return valuesOf(h.userEvents(), "userEventType"); }
    ::quarra::testing::TrackingHarness h;
    ScreenAppearanceHooks hooks;
    ScreenHooksFilter filter;
};

}  // namespace quarra::qt::testing
