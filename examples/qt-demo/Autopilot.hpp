#pragma once
// Plays a shopper through the demo with real key and mouse events: signs in,
// searches the catalogue, adds to cart, fills in the checkout form, places
// the order. Saves a screenshot of each screen and reports how it went.
#include <QString>
#include <QStringList>

namespace demo {

class LoginDialog;
class ShopWindow;

struct ShopScreens {
    LoginDialog* login;
    ShopWindow* window;
};

struct AutopilotResult {
    bool completed = false;
    QString problem;          // what did not happen in time
    QStringList screenshots;  // the files written
};

// Runs on the GUI thread inside the event loop; returns when done.
AutopilotResult runAutopilot(const ShopScreens& screens, const QString& screenshotFolder);

}  // namespace demo
