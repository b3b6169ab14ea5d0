#include "Autopilot.hpp"

#include <QCheckBox>
#include <QListWidget>
#include <QSpinBox>
#include <QToolBar>
#include <QStackedWidget>
#include <QTest>

#include "ActivityPanel.hpp"
#include "CheckoutPage.hpp"
#include "LoginDialog.hpp"
#include "OrderResultPage.hpp"
#include "Pilot.hpp"
#include "ProductDetailPage.hpp"
#include "ProductListPage.hpp"
#include "ShopWindow.hpp"
#include "ui_CheckoutPage.h"
#include "ui_LoginDialog.h"
#include "ui_OrderResultPage.h"
#include "ui_ProductDetailPage.h"
#include "ui_ProductListPage.h"
#include "ui_ShopWindow.h"

namespace demo {
namespace {

// Gives the panel's rows a few seconds to get their answers before a
// screenshot; rows still sending then are shown as such.
void settle(Pilot& pilot, ActivityPanel& panel) {
    pilot.pause();
    const bool answered = QTest::qWaitFor([&] { return panel.pendingCount() == 0; }, 5000);
    Q_UNUSED(answered);
}

bool signIn(Pilot& pilot, LoginDialog& login, ShopWindow& window) {
    if (!pilot.waitFor("the session start", [&] { return window.panel().sessionReady(); })) return false;
    login.activateWindow();
    if (!QTest::qWaitForWindowActive(&login)) pilot.pause();
    Ui::LoginDialog& form = login.form();
    pilot.type(form.userName, "ada.moreau@example.org");
    pilot.type(form.password, "correct horse battery");
    pilot.click(form.remember);
    settle(pilot, window.panel());
    pilot.screenshot("1-login.png", &window, &login);
    pilot.click(form.logIn);
    return pilot.waitFor("the catalogue after signing in",
                         [&] { return window.form().pages->currentWidget() == &window.catalogue(); });
}

bool browse(Pilot& pilot, ShopWindow& window) {
    // Without a window manager (offscreen) nothing hands the activation back
    // once the dialog closes; fields only get focus in an active window.
    window.activateWindow();
    if (!QTest::qWaitForWindowActive(&window)) {
        pilot.problem = "the shop window did not become active";
        return false;
    }
    pilot.pause();
    Ui::ProductListPage& list = window.catalogue().form();
    pilot.type(list.search, "running");
    QListWidgetItem* shoes = list.products->findItems("Trail running shoes", Qt::MatchStartsWith).value(0);
    if (!shoes) {
        pilot.problem = "the search for running gear found no trail running shoes";
        return false;
    }
    QTest::mouseClick(list.products->viewport(), Qt::LeftButton, {}, list.products->visualItemRect(shoes).center());
    settle(pilot, window.panel());
    pilot.screenshot("2-catalogue.png", &window);
    pilot.click(list.viewDetails);

    Ui::ProductDetailPage& product = window.productPage().form();
    pilot.pause();
    QTest::mouseClick(product.quantity, Qt::LeftButton);
    QTest::keyClick(product.quantity, Qt::Key_Up);
    pilot.click(product.addToCart);
    if (!pilot.waitFor("the add-to-cart answer", [&] { return product.checkout->isEnabled(); })) return false;
    settle(pilot, window.panel());
    pilot.screenshot("3-product.png", &window);
    // The tool bar's "Check out" this time; the page's own button would do the same.
    pilot.click(window.form().toolBar->widgetForAction(window.form().actionCheckout));
    return pilot.waitFor("the checkout page",
                         [&] { return window.form().pages->currentWidget() == &window.checkoutPage(); });
}

bool checkOut(Pilot& pilot, ShopWindow& window) {
    pilot.pause();
    Ui::CheckoutPage& form = window.checkoutPage().form();
    pilot.type(form.firstName, "Ada");
    pilot.type(form.lastName, "Moreau");
    pilot.type(form.street, "12 Rue de Rivoli");
    pilot.type(form.city, "Paris");
    pilot.type(form.postalCode, "75004");
    pilot.type(form.countryCode, "FR");
    pilot.type(form.cardNumber, "4111 1111 1111 1111");
    pilot.type(form.expiry, "12/28");
    pilot.type(form.cvv, "123");
    QTest::keyClick(form.cvv, Qt::Key_Tab);  // on to "Place order": the security code's period ends
    settle(pilot, window.panel());
    pilot.screenshot("4-checkout.png", &window);
    pilot.click(form.placeOrder);  // a click, though Return would do: it has the focus
    if (!pilot.waitFor("the order decision", [&] { return window.orderPage().answered(); })) return false;
    settle(pilot, window.panel());
    pilot.screenshot("5-order.png", &window);
    if (window.orderPage().form().headline->text().startsWith("We could not")) {
        pilot.problem = "the order was not evaluated: " + window.orderPage().form().verdict->text();
        return false;
    }
    return true;
}

}  // namespace

AutopilotResult runAutopilot(const ShopScreens& screens, const QString& screenshotFolder) {
    Pilot pilot(screenshotFolder);
    const bool done = signIn(pilot, *screens.login, *screens.window) && browse(pilot, *screens.window) &&
                      checkOut(pilot, *screens.window);
    // Leaving ends the last visit. Its exit events are handed in before the
    // quit; the library delivers them while the application quits (the
    // adapter shuts it down at aboutToQuit).
    screens.window->hide();
    pilot.pause();
    AutopilotResult result;
    result.completed = done && pilot.problem.isEmpty();
    result.problem = pilot.problem;
    result.screenshots = pilot.screenshots;
    return result;
}

}  // namespace demo
