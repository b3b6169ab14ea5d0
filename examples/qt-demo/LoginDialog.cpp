#include "LoginDialog.hpp"

#include "ui_LoginDialog.h"

namespace demo {

LoginDialog::LoginDialog(QWidget* parent) : QDialog(parent), ui_(std::make_unique<Ui::LoginDialog>()) {
    ui_->setupUi(this);
    setModal(true);
    connect(ui_->logIn, &QPushButton::clicked, this, &LoginDialog::trySignIn);
}

LoginDialog::~LoginDialog() = default;

QString LoginDialog::email() const { return ui_->userName->text().trimmed(); }

void LoginDialog::showConnection(bool online) {
    ui_->connection->setText(online ? "<span style='color:#2e7d32'>● Secure connection ready</span>"
                                    : "<span style='color:#c62828'>Offline: you can still sign in</span>");
}

void LoginDialog::trySignIn() {
    if (email().isEmpty() || ui_->password->text().isEmpty()) {
        ui_->connection->setText("<span style='color:#c62828'>Enter your email and password.</span>");
        return;
    }
    accept();
}

}  // namespace demo
