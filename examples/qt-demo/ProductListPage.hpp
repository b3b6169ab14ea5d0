#pragma once
// The catalogue: a search box and the product list. The page and its search
// field are tracked by the properties in ProductListPage.ui.
#include <QWidget>
#include <memory>

#include "Catalog.hpp"

namespace Ui {
class ProductListPage;
}

namespace demo {

class ProductListPage : public QWidget {
    Q_OBJECT

public:
    explicit ProductListPage(QWidget* parent = nullptr);
    ~ProductListPage() override;

    Ui::ProductListPage& form() { return *ui_; }

signals:
    void productChosen(const demo::Product& product);

private:
    void filter(const QString& text);
    void chooseCurrent();

    std::unique_ptr<Ui::ProductListPage> ui_;
};

}  // namespace demo
