#pragma once
// The demo's command line.
#include <QString>
#include <optional>

namespace demo {

struct DemoArguments {
    QString serviceUrl;      // the origin of every service endpoint
    QString caFile;          // the CA that signed the service's certificate
    QString dataDirectory;   // the library's files; empty: the usual place
    QString user = "demo";
    QString secret = "demo-secret";
    QString customer = "Corner Shop";
    QString screenshots;     // where the autopilot saves one image per screen
    bool autopilot = false;  // play a shopper, save screenshots, quit
    bool assumeOnline = false;  // skip the system's network-path check (the service is local)
};

// The arguments, or a message for standard error.
std::optional<DemoArguments> parseDemoArguments(const QStringList& arguments, QString& problem);

}  // namespace demo
