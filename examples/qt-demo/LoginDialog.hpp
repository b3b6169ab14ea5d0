#pragma once
// The sign-in dialog, shown first and modal over the shop window. Its form
// is tracked by the properties set in LoginDialog.ui and by the adapter's
// push button promoted there.
#include <QDialog>
#include <memory>

namespace Ui {
class LoginDialog;
}

namespace demo {

class LoginDialog : public QDialog {
    Q_OBJECT

public:
    explicit LoginDialog(QWidget* parent = nullptr);
    ~LoginDialog() override;

    Ui::LoginDialog& form() { return *ui_; }
    QString email() const;
    // Whether the shop could open a session with the fraud service.
    void showConnection(bool online);

private:
    void trySignIn();

    std::unique_ptr<Ui::LoginDialog> ui_;
};

}  // namespace demo
