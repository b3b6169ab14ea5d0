#include "ReportDigest.hpp"

#include <quarra/tracking/ButtonTrackingAction.hpp>
#include <quarra/tracking/ScreenTags.hpp>

namespace demo {
namespace {

using Report = quarra::qt::Collector::Report;

QString field(const quarra::JSONDictionary& report, const char* key) {
    auto found = report.find(key);
    if (found == report.end()) return {};
    return QString::fromStdString(found->is_string() ? found->get<std::string>() : found->dump());
}

QString seconds(const QString& milliseconds) { return QString::number(milliseconds.toDouble() / 1000.0, 'f', 1) + " s"; }

ReportDigest typing(const quarra::JSONDictionary& report) {
    const QString keys = field(report, "keystrokes");
    QString what = field(report, "element") + " · ";
    what += keys == "0" ? "visited, nothing typed" : keys + " keys in " + seconds(field(report, "duration"));
    return {"Typing", what};
}

// Screen visits and taps of coded events carry a number: a screen's enter
// and exit take two numbers per screen tag, the button actions follow.
ReportDigest coded(int code, const quarra::JSONDictionary& report) {
    constexpr int kFirstAction = 29;
    if (code >= kFirstAction) {
        auto action = static_cast<quarra::ButtonTrackingAction>(code - kFirstAction + 1);
        return {"Tap", QString::fromUtf8(quarra::rawValue(action).data(), qsizetype(quarra::rawValue(action).size()))};
    }
    auto screen = static_cast<quarra::ScreenTags>((code + 1) / 2);
    const auto name = quarra::caseName(screen);
    const QString tag = QString::fromUtf8(name.data(), qsizetype(name.size()));
    if (code % 2 == 1) return {"Screen", tag + " entered"};
    return {"Screen", tag + " left after " + seconds(field(report, "duration"))};
}

ReportDigest userEvent(const quarra::JSONDictionary& report) {
    const QString type = field(report, "userEventType");
    bool numeric = false;
    const int code = type.toInt(&numeric);
    if (numeric && code > 0) return coded(code, report);
    if (type.endsWith("-Enter")) return {"Screen", type.chopped(6) + " entered"};
    if (type.endsWith("-Exit")) {
        return {"Screen", type.chopped(5) + " left after " + seconds(field(report, "duration"))};
    }
    const QString x = field(report, "xposition");
    const QString y = field(report, "yposition");
    // A menu or tool bar trigger carries no touch: its position is 0, 0.
    if (x.toDouble() == 0 && y.toDouble() == 0) return {"Tap", type + " (menu or tool bar)"};
    return {"Tap", type + " at " + x + ", " + y};
}

}  // namespace

ReportDigest digestOf(Report kind, const quarra::JSONDictionary& report) {
    switch (kind) {
        case Report::activityStream:
            return typing(report);
        case Report::userEvents:
            return userEvent(report);
        case Report::accelerometerData:
            return {"Motion", "accelerometer sample"};
        case Report::userData:
            break;
    }
    return {"Profile", "device and session details"};
}

}  // namespace demo
