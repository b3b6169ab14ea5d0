#include "ShopWindow.hpp"

#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QStyle>

#include <quarra/qt/AttachedTracking.hpp>

#include "ActivityPanel.hpp"
#include "CheckoutPage.hpp"
#include "DemoOrder.hpp"
#include "GuiThread.hpp"
#include "OrderResultPage.hpp"
#include "ProductDetailPage.hpp"
#include "ProductListPage.hpp"
#include "ui_OrderResultPage.h"
#include "ui_ProductDetailPage.h"
#include "ui_ShopWindow.h"

namespace demo {
namespace {

// Until the shopper signs in the stack shows this; a bare Qt class, it is no screen of the shop's.
QLabel* signedOutPage() {
    auto* page = new QLabel("Sign in to start shopping.");
    page->setAlignment(Qt::AlignCenter);
    page->setProperty("role", "muted");
    return page;
}

}  // namespace

ShopWindow::ShopWindow(ShopServices services, ActivityPanel* panel, QWidget* parent)
    : QMainWindow(parent),
      ui_(std::make_unique<Ui::ShopWindow>()),
      services_(std::move(services)),
      panel_(panel),
      catalogue_(new ProductListPage),
      product_(new ProductDetailPage(services_.tracking)),
      checkout_(new CheckoutPage(services_.tracking)),
      order_(new OrderResultPage(services_.tracking)) {
    ui_->setupUi(this);
    ui_->activityDock->setWidget(panel_);
    ui_->viewMenu->addAction(ui_->activityDock->toggleViewAction());
    ui_->viewMenu->addAction(ui_->toolBar->toggleViewAction());
    ui_->actionCatalogue->setIcon(style()->standardIcon(QStyle::SP_DirHomeIcon));
    ui_->actionCheckout->setIcon(style()->standardIcon(QStyle::SP_DialogApplyButton));
    // The tool bar's and the menu's "Check out" is the same QAction: one tracked trigger.
    quarra::qt::trackAction(ui_->actionCheckout, quarra::ButtonTrackingAction::ProceedToCheckout, services_.tracking);

    ui_->pages->addWidget(signedOutPage());
    for (QWidget* page : std::initializer_list<QWidget*>{catalogue_, product_, checkout_, order_}) {
        ui_->pages->addWidget(page);
    }
    connect(catalogue_, &ProductListPage::productChosen, this, &ShopWindow::showProduct);
    connect(product_, &ProductDetailPage::addRequested, this, &ShopWindow::addToCart);
    connect(product_->form().back, &QPushButton::clicked, ui_->actionCatalogue, &QAction::trigger);
    connect(product_->form().checkout, &QPushButton::clicked, this, &ShopWindow::goToCheckout);
    connect(checkout_, &CheckoutPage::placeOrderRequested, this, &ShopWindow::placeOrder);
    connect(order_->form().continueShopping, &QPushButton::clicked, ui_->actionCatalogue,
            &QAction::trigger);
    connect(ui_->actionCatalogue, &QAction::triggered, this, [this] { ui_->pages->setCurrentWidget(catalogue_); });
    connect(ui_->actionCheckout, &QAction::triggered, this, &ShopWindow::goToCheckout);
    connect(ui_->actionAbout, &QAction::triggered, this, &ShopWindow::about);
    ui_->actionCatalogue->setEnabled(false);
    ui_->actionCheckout->setEnabled(false);
    ui_->statusBar->showMessage("Not signed in");
}

ShopWindow::~ShopWindow() = default;

void ShopWindow::signIn(const QString& email) {
    email_ = email;
    ui_->actionCatalogue->setEnabled(true);
    ui_->pages->setCurrentWidget(catalogue_);
    ui_->statusBar->showMessage("Welcome back. Free delivery on orders over 150 €.", 8000);
    auto* who = new QLabel("Signed in as <b>" + email.toHtmlEscaped() + "</b>");
    ui_->statusBar->addPermanentWidget(who);
}

void ShopWindow::showProduct(const Product& product) {
    product_->present(product);
    ui_->pages->setCurrentWidget(product_);
}

void ShopWindow::addToCart(const Product& product, int quantity) {
    cart_.add(product, quantity);
    showCart();
    reportAddToCart(services_.transactions, product, quantity,
                    [self = QPointer<ShopWindow>(this), quantity](const std::string& answer) {
                        onGuiThread(self, [quantity, ok = !answer.empty()](ShopWindow& window) {
                            window.product_->showAdded(quantity, ok);
                            window.ui_->statusBar->showMessage("Cart updated", 4000);
                        });
                    });
}

void ShopWindow::goToCheckout() {
    if (cart_.lines().isEmpty()) return;
    checkout_->showCart(cart_);
    ui_->pages->setCurrentWidget(checkout_);
}

void ShopWindow::placeOrder() {
    const Buyer buyer = checkout_->buyer(email_);
    order_->showPlacing(cart_, buyer);
    panel_->orderSent();
    ui_->pages->setCurrentWidget(order_);
    completeOrder(services_.transactions, cart_, buyer, [self = QPointer<ShopWindow>(this)](const std::string& answer) {
        onGuiThread(self, [text = QString::fromStdString(answer)](ShopWindow& window) {
            const auto evaluation = window.services_.evaluations.evaluationOf(text);
            window.order_->showOutcome(text, evaluation);
            window.panel_->orderAnswered(text, evaluation);
            window.ui_->statusBar->showMessage(evaluation ? "Order placed" : "The order could not be placed", 5000);
        });
    });
}

void ShopWindow::showCart() {
    ui_->cartSummary->setText(cart_.lines().isEmpty()
                                  ? QString("Cart is empty")
                                  : QString("Cart: %1 item(s) · %2").arg(cart_.itemCount()).arg(euros(cart_.subtotal())));
    ui_->actionCheckout->setEnabled(!cart_.lines().isEmpty());
}

void ShopWindow::about() {
    QMessageBox::about(this, "About Corner Shop",
                       "<b>Corner Shop</b><p>A demo shop whose screens, fields and buttons are tracked by the quarra "
                       "library through its Qt adapter. The panel on the right lists each fraud signal sent and how "
                       "the service answered.</p>");
}

}  // namespace demo
