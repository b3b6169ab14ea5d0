#pragma once
// Shared pieces of the Qt adapter tests.
#include <QApplication>
#include <QTest>
#include <QWidget>
#include <string>
#include <vector>

#include <quarra/Json.hpp>

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

}  // namespace quarra::qt::testing
