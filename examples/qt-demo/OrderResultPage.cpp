#include "OrderResultPage.hpp"

#include <quarra/qt/AttachedTracking.hpp>

#include "ui_OrderResultPage.h"

namespace demo {

OrderResultPage::OrderResultPage(const std::shared_ptr<const quarra::TrackingContext>& tracking, QWidget* parent)
    : QWidget(parent), ui_(std::make_unique<Ui::OrderResultPage>()) {
    ui_->setupUi(this);
    quarra::qt::trackScreen(this, quarra::ScreenTags::PurchaseConfirmation, tracking);
}

OrderResultPage::~OrderResultPage() = default;

void OrderResultPage::showPlacing(const Cart& cart, const Buyer& buyer) {
    answered_ = false;
    ui_->headline->setText("Placing your order…");
    ui_->verdict->setText("We are checking the payment with our fraud prevention service.");
    const QString card = buyer.cardNumber.right(4);
    QString html = QString("<p><b>Order %1</b> · %2 item(s)</p><table cellpadding='2'>")
                       .arg(kOrderNumber)
                       .arg(cart.itemCount());
    for (const CartLine& line : cart.lines()) {
        html += QString("<tr><td>%1 × %2</td><td align='right' style='padding-left:24px'>%3</td></tr>")
                    .arg(line.quantity)
                    .arg(line.product.name.toHtmlEscaped(), euros(line.product.price * line.quantity));
    }
    html += QString("<tr><td><b>Total paid</b></td><td align='right' style='padding-left:24px'><b>%1</b></td></tr>"
                    "</table><p style='color:#616161'>Card ending %2 · Courier to %3, %4 %5</p>")
                .arg(euros(cart.total()), card, buyer.street.toHtmlEscaped(), buyer.postalCode.toHtmlEscaped(),
                     buyer.city.toHtmlEscaped());
    ui_->receipt->setText(html);
}

void OrderResultPage::showOutcome(const QString& answer, const std::optional<Evaluation>& evaluation) {
    answered_ = true;
    if (!evaluation) {
        ui_->headline->setText("We could not confirm your order");
        ui_->verdict->setText("<span style='color:#c62828'>" + answer.toHtmlEscaped() + "</span>");
        return;
    }
    const bool approved = evaluation->decision == "Guaranteeable";
    ui_->headline->setText(approved ? "Thank you, your order is confirmed" : "Your order is under review");
    ui_->verdict->setText(
        approved ? QString("<span style='color:#2e7d32'>✓ Payment approved by the fraud check "
                           "(risk score %1 of 100). It ships today.</span>")
                       .arg(evaluation->score)
                 : QString("<span style='color:#c62828'>The fraud check asked for a review (risk score %1 of 100). "
                           "We will email you within the hour.</span>")
                       .arg(evaluation->score));
}

}  // namespace demo
