#pragma once
// One product: picture, price, quantity and the cart buttons. The page and
// its add-to-cart button are tracked by calls; "Go to checkout" by the
// property in ProductDetailPage.ui.
#include <QWidget>
#include <memory>

#include <quarra/tracking/TrackingContextRef.hpp>

#include "Catalog.hpp"

namespace Ui {
class ProductDetailPage;
}

namespace demo {

class ProductDetailPage : public QWidget {
    Q_OBJECT

public:
    ProductDetailPage(const std::shared_ptr<const quarra::TrackingContext>& tracking, QWidget* parent = nullptr);
    ~ProductDetailPage() override;

    Ui::ProductDetailPage& form() { return *ui_; }
    void present(const Product& product);
    const Product& product() const { return product_; }
    // The cart event's answer: whether the shop's transaction client took it.
    void showAdded(int quantity, bool recorded);

signals:
    void addRequested(const demo::Product& product, int quantity);

private:
    std::unique_ptr<Ui::ProductDetailPage> ui_;
    Product product_;
};

}  // namespace demo
