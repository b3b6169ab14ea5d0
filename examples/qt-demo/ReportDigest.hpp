#pragma once
// One line for the activity panel saying what a tracking report carried:
// which field was typed in and how fast, which button was tapped, which
// screen was entered or left. Read from the report itself.
#include <QString>

#include <quarra/Json.hpp>
#include <quarra/qt/Collector.hpp>

namespace demo {

struct ReportDigest {
    QString kind;  // "Typing", "Tap", "Screen", "Motion"
    QString what;  // "Password · 13 keys in 2.4 s"
};

ReportDigest digestOf(quarra::qt::Collector::Report kind, const quarra::JSONDictionary& report);

}  // namespace demo
