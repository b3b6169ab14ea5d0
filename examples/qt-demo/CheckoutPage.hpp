#pragma once
// Address, card and the order summary. The address fields and the page are
// tracked by the properties in CheckoutPage.ui; the card fields and
// "Place order" by calls, as a host adds tracking to a form it already has.
#include <QWidget>
#include <memory>

#include <quarra/tracking/TrackingContextRef.hpp>

#include "Cart.hpp"
#include "DemoOrder.hpp"

namespace Ui {
class CheckoutPage;
}

namespace demo {

class CheckoutPage : public QWidget {
    Q_OBJECT

public:
    CheckoutPage(const std::shared_ptr<const quarra::TrackingContext>& tracking, QWidget* parent = nullptr);
    ~CheckoutPage() override;

    Ui::CheckoutPage& form() { return *ui_; }
    void showCart(const Cart& cart);
    Buyer buyer(const QString& email) const;

signals:
    void placeOrderRequested();

private:
    void checkAndPlace();

    std::unique_ptr<Ui::CheckoutPage> ui_;
};

}  // namespace demo
