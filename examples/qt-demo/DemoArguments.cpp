#include "DemoArguments.hpp"

#include <QCommandLineParser>

namespace demo {

std::optional<DemoArguments> parseDemoArguments(const QStringList& arguments, QString& problem) {
    QCommandLineParser parser;
    parser.setApplicationDescription("A small shop whose screens are tracked by the quarra library.");
    parser.addHelpOption();
    const QCommandLineOption url("service-url", "Origin of the service (https://127.0.0.1:PORT).", "url");
    const QCommandLineOption ca("ca-file", "PEM file of the CA to trust for the service.", "file");
    const QCommandLineOption data("data-dir", "Where the library keeps its files.", "dir");
    const QCommandLineOption user("user", "Account user name.", "name", "demo");
    const QCommandLineOption secret("secret", "Account secret.", "secret", "demo-secret");
    const QCommandLineOption shots("screenshots", "Folder for one screenshot per screen.", "dir");
    const QCommandLineOption autopilot("autopilot", "Play a shopper through every screen, then quit.");
    const QCommandLineOption online("assume-online", "Do not wait for the system to report a network path.");
    parser.addOptions({url, ca, data, user, secret, shots, autopilot, online});
    if (!parser.parse(arguments)) {
        problem = parser.errorText();
        return std::nullopt;
    }
    if (parser.isSet("help")) {
        problem = parser.helpText();
        return std::nullopt;
    }
    DemoArguments result;
    result.serviceUrl = parser.value(url);
    result.caFile = parser.value(ca);
    result.dataDirectory = parser.value(data);
    result.user = parser.value(user);
    result.secret = parser.value(secret);
    result.screenshots = parser.value(shots);
    result.autopilot = parser.isSet(autopilot);
    result.assumeOnline = parser.isSet(online);
    if (result.serviceUrl.isEmpty()) {
        problem = "--service-url is required (quarra-service prints it on its first line)";
        return std::nullopt;
    }
    return result;
}

}  // namespace demo
