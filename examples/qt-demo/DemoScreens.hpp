#pragma once
// The shop's three screens. Each is a tracked screen base with its tag; the
// controls on them are the adapter's tracked widgets.
#include <QLabel>

#include <quarra/qt/TrackedLineEdit.hpp>
#include <quarra/qt/TrackedPicker.hpp>
#include <quarra/qt/TrackedPushButton.hpp>
#include <quarra/qt/TrackedScreens.hpp>

namespace demo {

class LoginScreen : public quarra::qt::TrackedScreen {
    Q_OBJECT

public:
    explicit LoginScreen(QWidget* parent = nullptr);
    quarra::ScreenTags screenTag() const override { return quarra::ScreenTags::Login; }

    quarra::qt::TrackedLineEdit* loginId;
    quarra::qt::TrackedLineEdit* password;
    quarra::qt::TrackedPicker* accountKind;
    quarra::qt::TrackedPushButton* logIn;
    QLabel* session;  // the session state
};

class ProductScreen : public quarra::qt::TrackedCollectionScreen {
    Q_OBJECT

public:
    explicit ProductScreen(QWidget* parent = nullptr);
    quarra::ScreenTags screenTag() const override { return quarra::ScreenTags::ProductDetail; }

    quarra::qt::TrackedPushButton* addToCart;
    quarra::qt::TrackedPushButton* checkout;
    QLabel* result;
};

class CheckoutScreen : public quarra::qt::TrackedTableScreen {
    Q_OBJECT

public:
    explicit CheckoutScreen(QWidget* parent = nullptr);
    quarra::ScreenTags screenTag() const override { return quarra::ScreenTags::Checkout; }

    quarra::qt::TrackedPushButton* pay;
    QLabel* result;
};

}  // namespace demo
