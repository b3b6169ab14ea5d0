#include "LibraryOptions.hpp"

#include <QGuiApplication>
#include <QScreen>

#include <quarra/qt/ScreenOrientation.hpp>

namespace demo {
namespace {

// For a service on this machine: the path is always there.
class AlwaysOnline final : public quarra::PathMonitor {
public:
    void start(Handler handler) override { handler(true); }
    void cancel() override {}
};

}  // namespace

quarra::Options libraryOptions(const DemoArguments& arguments, std::shared_ptr<quarra::Executor> main,
                               std::shared_ptr<quarra::HttpClient> http) {
    quarra::Options options;
    options.appName = "Corner Shop";
    options.appVersion = "1.0";
    options.bundleIdentifier = "net.quarra.qt-demo";
    options.dataDirectory = arguments.dataDirectory.toStdString();
    const std::string url = arguments.serviceUrl.toStdString();
    options.origins = {url, url, url, url};
    options.caFile = arguments.caFile.toStdString();
    options.httpClient = std::move(http);
    options.mainExecutor = std::move(main);
    options.orientationSource = quarra::qt::primaryScreenOrientation();
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        options.screenWidth = screen->geometry().width();
        options.screenHeight = screen->geometry().height();
    }
    if (arguments.assumeOnline) options.pathMonitor = std::make_shared<AlwaysOnline>();
    return options;
}

}  // namespace demo
