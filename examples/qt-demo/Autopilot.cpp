#include "Autopilot.hpp"

#include <QDir>
#include <QStackedWidget>
#include <QTest>

#include "DemoScreens.hpp"

namespace demo {
namespace {

constexpr int kServiceTimeoutMs = 30000;

class Pilot {
public:
    Pilot(const ShopScreens& screens, QString folder) : screens_(screens), folder_(std::move(folder)) {}

    bool waitFor(const char* what, const std::function<bool()>& condition) {
        if (QTest::qWaitFor(condition, kServiceTimeoutMs)) return true;
        result.problem = QString("%1 did not happen within %2 s").arg(what).arg(kServiceTimeoutMs / 1000);
        return false;
    }

    // Lets the automatic enter event (0.2 s after a screen appears) happen.
    void pause(int ms = 400) { QTest::qWait(ms); }

    void type(QWidget* field, const QString& text) {
        QTest::mouseClick(field, Qt::LeftButton, {}, QPoint(field->width() / 3, field->height() / 2));
        for (QChar c : text) {
            QTest::keyClick(field, c.toLatin1());
            QTest::qWait(60);  // a person's typing rhythm
        }
    }

    void screenshot(const QString& name) {
        if (folder_.isEmpty()) return;
        QString path = QDir(folder_).filePath(name);
        if (screens_.window->grab().save(path)) {
            result.screenshots << path;
        } else {
            failedScreenshot = path;
        }
    }

    AutopilotResult result;
    QString failedScreenshot;

private:
    const ShopScreens& screens_;
    QString folder_;
};

}  // namespace

AutopilotResult runAutopilot(const ShopScreens& screens, const QString& screenshotFolder) {
    if (!screenshotFolder.isEmpty()) QDir().mkpath(screenshotFolder);
    Pilot pilot(screens, screenshotFolder);
    LoginScreen& login = *screens.login;

    if (!pilot.waitFor("the session start", [&] { return login.session->text().startsWith("Session started"); })) {
        return pilot.result;
    }
    pilot.type(login.loginId, "ada@example.org");
    pilot.type(login.password, "correct horse");
    QListWidgetItem* business = login.accountKind->item(1);
    QTest::mouseClick(login.accountKind->viewport(), Qt::LeftButton, {},
                      login.accountKind->visualItemRect(business).center());
    pilot.screenshot("1-login.png");
    QTest::mouseClick(login.logIn, Qt::LeftButton);

    ProductScreen& product = *screens.product;
    pilot.pause();
    QTest::mouseClick(product.addToCart, Qt::LeftButton);
    if (!pilot.waitFor("the add-to-cart answer", [&] { return !product.result->text().isEmpty(); })) {
        return pilot.result;
    }
    pilot.screenshot("2-product.png");
    QTest::mouseClick(product.checkout, Qt::LeftButton);

    CheckoutScreen& checkout = *screens.checkout;
    pilot.pause();
    QTest::mouseClick(checkout.pay, Qt::LeftButton);
    if (!pilot.waitFor("the order decision", [&] { return !checkout.result->text().isEmpty(); })) {
        return pilot.result;
    }
    pilot.screenshot("3-checkout.png");

    // Leaving ends the last visit; the library delivers its exit event while
    // the application quits (the adapter shuts it down at aboutToQuit).
    screens.window->hide();
    if (!pilot.failedScreenshot.isEmpty()) {
        pilot.result.problem = "could not write " + pilot.failedScreenshot;
        return pilot.result;
    }
    pilot.result.completed = true;
    return pilot.result;
}

}  // namespace demo
