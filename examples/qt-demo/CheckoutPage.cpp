#include "CheckoutPage.hpp"

#include <QRegularExpressionValidator>

#include <quarra/qt/AttachedTracking.hpp>

#include "ui_CheckoutPage.h"

namespace demo {

CheckoutPage::CheckoutPage(const std::shared_ptr<const quarra::TrackingContext>& tracking, QWidget* parent)
    : QWidget(parent), ui_(std::make_unique<Ui::CheckoutPage>()) {
    ui_->setupUi(this);
    quarra::qt::trackField(ui_->cardNumber, quarra::FieldTags::PurchaseCardNumber, tracking);
    quarra::qt::trackField(ui_->expiry, quarra::FieldTags::PurchaseCardExpirationDateFull, tracking);
    quarra::qt::trackField(ui_->cvv, quarra::FieldTags::PurchaseCardCVV, tracking);
    quarra::qt::trackButton(ui_->placeOrder, quarra::ButtonTrackingAction::CompleteOrder, tracking);

    ui_->cardNumber->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9 ]{0,23}"), this));
    ui_->expiry->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]{0,2}/?[0-9]{0,2}"), this));
    ui_->cvv->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]{0,4}"), this));
    ui_->summaryBox->setMinimumWidth(260);
    connect(ui_->placeOrder, &QPushButton::clicked, this, &CheckoutPage::checkAndPlace);
}

CheckoutPage::~CheckoutPage() = default;

void CheckoutPage::showCart(const Cart& cart) {
    QString html = "<table width='100%' cellspacing='0' cellpadding='3'>";
    for (const CartLine& line : cart.lines()) {
        html += QString("<tr><td>%1 × %2</td><td align='right'>%3</td></tr>")
                    .arg(line.quantity)
                    .arg(line.product.name.toHtmlEscaped(), euros(line.product.price * line.quantity));
    }
    html += QString("<tr><td style='color:#616161'>Courier delivery</td><td align='right'>%1</td></tr>")
                .arg(euros(cart.shipping()));
    html += QString("<tr><td><b>Total</b></td><td align='right'><b>%1</b></td></tr></table>").arg(euros(cart.total()));
    ui_->summary->setText(html);
    ui_->placeOrder->setText("Place order · " + euros(cart.total()));
    ui_->placeOrder->setEnabled(!cart.lines().isEmpty());
}

Buyer CheckoutPage::buyer(const QString& email) const {
    return {ui_->firstName->text(), ui_->lastName->text(), ui_->street->text(),     ui_->city->text(),
            ui_->postalCode->text(), ui_->countryCode->text(), email, ui_->cardNumber->text()};
}

void CheckoutPage::checkAndPlace() {
    const QString digits = ui_->cardNumber->text().remove(' ');
    if (ui_->firstName->text().isEmpty() || ui_->street->text().isEmpty() || ui_->city->text().isEmpty()) {
        ui_->problem->setText("<span style='color:#c62828'>Please fill in the delivery address.</span>");
        return;
    }
    if (digits.size() < 12 || ui_->cvv->text().size() < 3) {
        ui_->problem->setText("<span style='color:#c62828'>Please check the card number and security code.</span>");
        return;
    }
    ui_->problem->clear();
    emit placeOrderRequested();
}

}  // namespace demo
