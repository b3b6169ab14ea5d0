// quarra-qt-demo: a small shop whose screens, fields and buttons are tracked
// by the library through the Qt adapter, talking to a quarra-service.
#include <QApplication>
#include <QPointer>
#include <QScreen>
#include <QStackedWidget>
#include <QTimer>
#include <cstdio>

#include <quarra/DataCollectorService.hpp>
#include <quarra/Options.hpp>
#include <quarra/qt/MainQueueExecutor.hpp>
#include <quarra/qt/ScreenOrientation.hpp>
#include <quarra/qt/ScreenTracking.hpp>

#include "Autopilot.hpp"
#include "DemoArguments.hpp"
#include "DemoOrder.hpp"
#include "DemoScreens.hpp"

namespace {

// For a service on this machine: the path is always there.
class AlwaysOnline final : public quarra::PathMonitor {
public:
    void start(Handler handler) override { handler(true); }
    void cancel() override {}
};

quarra::Options libraryOptions(const demo::DemoArguments& arguments, std::shared_ptr<quarra::Executor> main) {
    quarra::Options options;
    options.appName = "Corner Shop";
    options.appVersion = "1.0";
    options.bundleIdentifier = "net.quarra.qt-demo";
    options.dataDirectory = arguments.dataDirectory.toStdString();
    const std::string url = arguments.serviceUrl.toStdString();
    options.origins = {url, url, url, url};
    options.caFile = arguments.caFile.toStdString();
    options.mainExecutor = std::move(main);
    options.orientationSource = quarra::qt::primaryScreenOrientation();
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        options.screenWidth = screen->geometry().width();
        options.screenHeight = screen->geometry().height();
    }
    if (arguments.assumeOnline) options.pathMonitor = std::make_shared<AlwaysOnline>();
    return options;
}

// Shows a transaction answer (the transaction identifier, or what went
// wrong) on `label`; the answer comes from a library thread.
quarra::TransactionCompletion showOn(QLabel* label, std::shared_ptr<quarra::Executor> main) {
    return [label = QPointer<QLabel>(label), main](const std::string& answer) {
        main->post([label, text = QString::fromStdString(answer)] {
            if (label) label->setText("Service answer: " + text);
        });
    };
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

    auto main = quarra::qt::makeMainQueueExecutor();
    quarra::configure(libraryOptions(*arguments, main));
    quarra::DataCollectorService::enableLogs(true);
    quarra::qt::installScreenTracking();

    QStackedWidget window;
    window.setWindowTitle("Corner Shop");
    auto* login = new demo::LoginScreen;
    auto* product = new demo::ProductScreen;
    auto* checkout = new demo::CheckoutScreen;
    for (QWidget* page : {static_cast<QWidget*>(login), static_cast<QWidget*>(product), static_cast<QWidget*>(checkout)}) {
        window.addWidget(page);
    }

    quarra::QuarraManager shop;
    QObject::connect(login->logIn, &QPushButton::clicked, &window, [&] { window.setCurrentWidget(product); });
    QObject::connect(product->addToCart, &QPushButton::clicked, &window, [&] {
        product->result->setText({});
        demo::reportAddToCart(shop, showOn(product->result, main));
    });
    QObject::connect(product->checkout, &QPushButton::clicked, &window, [&] { window.setCurrentWidget(checkout); });
    QObject::connect(checkout->pay, &QPushButton::clicked, &window, [&] {
        checkout->result->setText({});
        demo::completeOrder(shop, showOn(checkout->result, main));
    });

    login->session->setText("Starting a session…");
    quarra::DataCollectorService::defaultService().authenticateUser(
        arguments->user.toStdString(), arguments->secret.toStdString(), arguments->customer.toStdString(),
        [main, label = QPointer<QLabel>(login->session)](const std::string& sessionKey) {
            main->post([label, started = !sessionKey.empty()] {
                if (label) label->setText(started ? "Session started" : "Offline: no session");
            });
        });

    window.resize(420, 520);
    window.show();

    if (arguments->autopilot) {
        QTimer::singleShot(0, &app, [&] {
            auto result = demo::runAutopilot({&window, login, product, checkout}, arguments->screenshots);
            for (const auto& file : result.screenshots) std::printf("screenshot: %s\n", file.toLocal8Bit().constData());
            if (!result.completed) std::fprintf(stderr, "autopilot: %s\n", result.problem.toLocal8Bit().constData());
            std::fflush(stdout);
            app.exit(result.completed ? 0 : 1);
        });
    }
    return app.exec();
}
