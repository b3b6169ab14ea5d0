#pragma once
// The shop's main window: a banner, the pages in a QStackedWidget, a menu,
// a tool bar, a status bar, and the fraud-signal panel docked on the right.
// It walks the shopper from the catalogue to the order and makes the
// transaction calls.
#include <QMainWindow>
#include <memory>

#include <quarra/QuarraManager.hpp>
#include <quarra/tracking/TrackingContextRef.hpp>

#include "Cart.hpp"
#include "EvaluationTap.hpp"

namespace Ui {
class ShopWindow;
}

namespace demo {

class ActivityPanel;
class CheckoutPage;
class OrderResultPage;
class ProductDetailPage;
class ProductListPage;

struct ShopServices {
    quarra::QuarraManager& transactions;
    const EvaluationTap& evaluations;
    std::shared_ptr<const quarra::TrackingContext> tracking;  // what the shop's own tracking reports through
};

class ShopWindow : public QMainWindow {
    Q_OBJECT

public:
    ShopWindow(ShopServices services, ActivityPanel* panel, QWidget* parent = nullptr);
    ~ShopWindow() override;

    void signIn(const QString& email);

    Ui::ShopWindow& form() { return *ui_; }
    ActivityPanel& panel() { return *panel_; }
    ProductListPage& catalogue() { return *catalogue_; }
    ProductDetailPage& productPage() { return *product_; }
    CheckoutPage& checkoutPage() { return *checkout_; }
    OrderResultPage& orderPage() { return *order_; }

private:
    void showProduct(const Product& product);
    void addToCart(const Product& product, int quantity);
    void goToCheckout();
    void placeOrder();
    void showCart();
    void about();

    std::unique_ptr<Ui::ShopWindow> ui_;
    ShopServices services_;
    ActivityPanel* panel_;
    ProductListPage* catalogue_;
    ProductDetailPage* product_;
    CheckoutPage* checkout_;
    OrderResultPage* order_;
    Cart cart_;
    QString email_;
};

}  // namespace demo
