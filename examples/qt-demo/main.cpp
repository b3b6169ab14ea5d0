// quarra-qt-demo: a small shop built from Designer forms whose screens,
// fields and buttons are tracked by the library through the Qt adapter,
// talking to a quarra-service. A side panel shows what was sent.
#include <QApplication>
#include <QTimer>
#include <cstdio>

#include <quarra/DataCollectorService.hpp>
#include <quarra/qt/Collector.hpp>
#include <quarra/qt/MainQueueExecutor.hpp>

#include "ActivityPanel.hpp"
#include "Autopilot.hpp"
#include "DemoArguments.hpp"
#include "EvaluationTap.hpp"
#include "LibraryOptions.hpp"
#include "LoginDialog.hpp"
#include "ReportRelay.hpp"
#include "ShopStyle.hpp"
#include "ShopTracking.hpp"
#include "ShopWindow.hpp"

namespace {

void runAutopilotThenQuit(QApplication& app, const demo::ShopScreens& screens, const QString& folder) {
    QTimer::singleShot(0, &app, [&app, screens, folder] {
        auto result = demo::runAutopilot(screens, folder);
        for (const auto& file : result.screenshots) std::printf("screenshot: %s\n", file.toLocal8Bit().constData());
        if (!result.completed) std::fprintf(stderr, "autopilot: %s\n", result.problem.toLocal8Bit().constData());
        std::fflush(stdout);
        app.exit(result.completed ? 0 : 1);
    });
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QString problem;
    auto arguments = demo::parseDemoArguments(app.arguments(), problem);
    if (!arguments) {
        std::fprintf(stderr, "%s\n", problem.toLocal8Bit().constData());
        return 2;
    }
    demo::applyShopStyle(app);

    auto evaluations =
        std::make_shared<demo::EvaluationTap>(quarra::makeCurlHttpClient({arguments->caFile.toStdString()}));
    quarra::configure(demo::libraryOptions(*arguments, quarra::qt::makeMainQueueExecutor(), evaluations));
    quarra::DataCollectorService::enableLogs(true);

    quarra::qt::Collector collector;
    auto* panel = new demo::ActivityPanel;  // the window's dock takes it
    panel->follow(collector);
    demo::ShopTracking tracking(app, demo::makeShopContext(collector, *panel));

    quarra::QuarraManager transactions;
    demo::ShopWindow window({transactions, *evaluations, tracking.context()}, panel);
    demo::LoginDialog login(&window);
    QObject::connect(&collector, &quarra::qt::Collector::sessionKeyReceived, &login, [&](const QString& key) {
        login.showConnection(!key.isEmpty());
        if (!key.isEmpty()) tracking.sessionStarted();
    });
    QObject::connect(&login, &QDialog::accepted, &window, [&] { window.signIn(login.email()); });
    QObject::connect(&login, &QDialog::rejected, &app, &QApplication::quit);
    collector.authenticateUser(arguments->user, arguments->secret, arguments->customer);

    window.show();
    login.show();  // modal over the window, before anything else
    if (arguments->autopilot) runAutopilotThenQuit(app, {&login, &window}, arguments->screenshots);
    const int status = app.exec();
    evaluations->close();  // the library shut down at aboutToQuit; its HTTP client goes now
    return status;
}
