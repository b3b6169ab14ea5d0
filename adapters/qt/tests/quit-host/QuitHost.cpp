// quarra-qt-quit-host: a Qt program that types into a tracked field, clicks a
// tracked button and quits QUIT_AFTER_MS later, returning from main with the
// reports still on their way. The adapter's quit shutdown delivers them; the
// quit test runs this shape again and again.
//
//   quarra-qt-quit-host SERVICE_URL CA_FILE DATA_DIR QUIT_AFTER_MS
#include <QApplication>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>
#include <cstdio>
#include <cstdlib>

#include <quarra/DataCollectorService.hpp>
#include <quarra/Options.hpp>
#include <quarra/PathMonitor.hpp>
#include <quarra/qt/MainQueueExecutor.hpp>
#include <quarra/qt/TrackedLineEdit.hpp>
#include <quarra/qt/TrackedPushButton.hpp>

namespace {

class AlwaysOnline final : public quarra::PathMonitor {
public:
    void start(Handler handler) override { handler(true); }
    void cancel() override {}
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 5) {
        std::fprintf(stderr, "usage: quarra-qt-quit-host SERVICE_URL CA_FILE DATA_DIR QUIT_AFTER_MS\n");
        return 2;
    }
    const int quitAfterMs = std::atoi(argv[4]);
    quarra::Options options;
    const std::string url = argv[1];
    options.appName = "quit-host";
    options.bundleIdentifier = "net.quarra.qt-quit-host";
    options.origins = {url, url, url, url};
    options.caFile = argv[2];
    options.dataDirectory = argv[3];
    options.mainExecutor = quarra::qt::makeMainQueueExecutor();
    options.pathMonitor = std::make_shared<AlwaysOnline>();
    quarra::configure(options);
    quarra::DataCollectorService::enableLogs(qEnvironmentVariableIsSet("QUARRA_QUIT_HOST_LOGS"));

    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* field = new quarra::qt::TrackedLineEdit(&window);
    field->setFieldTag("LoginID");
    auto* button = new quarra::qt::TrackedPushButton("Log in", &window);
    button->setTrackingAction("LoginAttempt");
    layout->addWidget(field);
    layout->addWidget(button);
    window.show();
    QApplication::setActiveWindow(&window);

    // Once collection runs (on the GUI thread): a user types, clicks, and the app quits.
    quarra::DataCollectorService::defaultService().authenticateUser(
        "demo", "demo-secret", "Quit Host", {}, [&](bool) {
            field->setFocus();
            QTest::keyClicks(field, "ada@example.org");
            QTest::mouseClick(button, Qt::LeftButton);
            QTimer::singleShot(quitAfterMs, &app, &QCoreApplication::quit);
        });
    QTimer::singleShot(20'000, &app, [&] {
        std::fprintf(stderr, "quit-host: collection never started\n");
        app.exit(3);
    });
    return app.exec();
}
