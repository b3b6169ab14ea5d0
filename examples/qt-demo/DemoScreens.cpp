#include "DemoScreens.hpp"

#include <QFormLayout>
#include <QVBoxLayout>

namespace demo {
namespace {

QLabel* title(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    QFont font = label->font();
    font.setPointSize(font.pointSize() + 6);
    font.setBold(true);
    label->setFont(font);
    return label;
}

QLabel* wrapping(QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

}  // namespace

LoginScreen::LoginScreen(QWidget* parent)
    : TrackedScreen(parent),
      loginId(new quarra::qt::TrackedLineEdit(this)),
      password(new quarra::qt::TrackedLineEdit(this)),
      accountKind(new quarra::qt::TrackedPicker(this)),
      logIn(new quarra::qt::TrackedPushButton("Log in", this)),
      session(wrapping(this)) {
    loginId->setFieldTag("LoginID");
    loginId->setPlaceholderText("you@example.org");
    password->setFieldTag("Password");
    password->setEchoMode(QLineEdit::Password);
    accountKind->setFieldTag("LoginPickerView");
    accountKind->addItems({"Personal account", "Business account", "Guest"});
    accountKind->setCurrentRow(0);
    accountKind->setMaximumHeight(80);
    logIn->setTrackingAction("LoginAttempt");
    logIn->setDefault(true);

    auto* form = new QFormLayout;
    form->addRow("Login ID", loginId);
    form->addRow("Password", password);
    form->addRow("Account", accountKind);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title("Corner Shop", this));
    layout->addLayout(form);
    layout->addWidget(logIn);
    layout->addWidget(session);
    layout->addStretch();
}

ProductScreen::ProductScreen(QWidget* parent)
    : TrackedCollectionScreen(parent),
      addToCart(new quarra::qt::TrackedPushButton("Add to cart", this)),
      checkout(new quarra::qt::TrackedPushButton("Checkout", this)),
      result(wrapping(this)) {
    addToCart->setTrackingAction("AddToCart");
    checkout->setTrackingAction("ProceedToCheckout");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title("Trail running shoes", this));
    layout->addWidget(new QLabel("SKU-4471 · 2 pairs · 64.50 EUR each, 5.00 EUR off", this));
    layout->addWidget(addToCart);
    layout->addWidget(checkout);
    layout->addWidget(result);
    layout->addStretch();
}

CheckoutScreen::CheckoutScreen(QWidget* parent)
    : TrackedTableScreen(parent), pay(new quarra::qt::TrackedPushButton("Pay 124.00 EUR", this)), result(wrapping(this)) {
    pay->setTrackingAction("CompleteOrder");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title("Checkout", this));
    layout->addWidget(new QLabel("Card ending 1111 · Courier to 12 Rue de Rivoli, Paris", this));
    layout->addWidget(pay);
    layout->addWidget(result);
    layout->addStretch();
}

}  // namespace demo
