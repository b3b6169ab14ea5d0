#include "ProductDetailPage.hpp"

#include <quarra/qt/AttachedTracking.hpp>

#include "ProductArt.hpp"
#include "ui_ProductDetailPage.h"

namespace demo {

ProductDetailPage::ProductDetailPage(const std::shared_ptr<const quarra::TrackingContext>& tracking, QWidget* parent)
    : QWidget(parent), ui_(std::make_unique<Ui::ProductDetailPage>()) {
    ui_->setupUi(this);
    quarra::qt::trackScreen(this, quarra::ScreenTags::ProductDetail, tracking);
    quarra::qt::trackButton(ui_->addToCart, quarra::ButtonTrackingAction::AddToCart, tracking);
    connect(ui_->addToCart, &QPushButton::clicked, this, [this] {
        ui_->addToCart->setEnabled(false);
        ui_->added->setText("Adding to your cart…");
        emit addRequested(product_, ui_->quantity->value());
    });
}

ProductDetailPage::~ProductDetailPage() = default;

void ProductDetailPage::present(const Product& product) {
    product_ = product;
    ui_->picture->setPixmap(productPicture(product, 200));
    ui_->category->setText(product.category.toUpper() + "  ·  " + product.sku);
    ui_->name->setText(product.name);
    ui_->price->setText(euros(product.price));
    ui_->blurb->setText(product.blurb);
    ui_->quantity->setValue(1);
    ui_->added->clear();
    ui_->addToCart->setEnabled(true);
}

void ProductDetailPage::showAdded(int quantity, bool recorded) {
    ui_->addToCart->setEnabled(true);
    ui_->checkout->setEnabled(true);
    const QString what = QString("%1 × %2 added to your cart.").arg(quantity).arg(product_.name);
    ui_->added->setText(recorded ? "<span style='color:#2e7d32'>✓ " + what + "</span>"
                                 : what + " <span style='color:#c62828'>(the cart event was not recorded)</span>");
}

}  // namespace demo
