#pragma once
// Plays a shopper through the demo with real key and mouse events: signs in,
// picks an account kind, adds to cart, pays. Saves a screenshot of each
// screen and reports how it went.
#include <QString>
#include <QStringList>

class QStackedWidget;

namespace demo {

class LoginScreen;
class ProductScreen;
class CheckoutScreen;

struct ShopScreens {
    QStackedWidget* window;
    LoginScreen* login;
    ProductScreen* product;
    CheckoutScreen* checkout;
};

struct AutopilotResult {
    bool completed = false;
    QString problem;       // what did not happen in time
    QStringList screenshots;  // the files written
};

// Runs on the GUI thread inside the event loop; returns when done.
AutopilotResult runAutopilot(const ShopScreens& screens, const QString& screenshotFolder);

}  // namespace demo
