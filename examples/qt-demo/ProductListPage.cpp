#include "ProductListPage.hpp"

#include <QListWidgetItem>

#include "ProductArt.hpp"
#include "ui_ProductListPage.h"

namespace demo {

ProductListPage::ProductListPage(QWidget* parent) : QWidget(parent), ui_(std::make_unique<Ui::ProductListPage>()) {
    ui_->setupUi(this);
    for (const Product& product : catalog()) {
        const QString text = product.name + "  ·  " + euros(product.price) + "\n" + product.blurb;
        auto* item = new QListWidgetItem(productArt(product, 48), text, ui_->products);
        item->setData(Qt::UserRole, product.sku);
        item->setToolTip(product.category);
        item->setSizeHint(QSize(0, 64));
    }
    ui_->products->setCurrentRow(0);
    filter({});
    connect(ui_->search, &QLineEdit::textChanged, this, &ProductListPage::filter);
    connect(ui_->viewDetails, &QPushButton::clicked, this, &ProductListPage::chooseCurrent);
    connect(ui_->products, &QListWidget::itemActivated, this, &ProductListPage::chooseCurrent);
}

ProductListPage::~ProductListPage() = default;

void ProductListPage::filter(const QString& text) {
    int shown = 0;
    QListWidgetItem* first = nullptr;
    for (int row = 0; row < ui_->products->count(); ++row) {
        QListWidgetItem* item = ui_->products->item(row);
        const bool match = item->text().contains(text.trimmed(), Qt::CaseInsensitive);
        item->setHidden(!match);
        if (match && !first) first = item;
        shown += match ? 1 : 0;
    }
    if (first && (!ui_->products->currentItem() || ui_->products->currentItem()->isHidden())) {
        ui_->products->setCurrentItem(first);
    }
    ui_->count->setText(QString("%1 of %2 products").arg(shown).arg(ui_->products->count()));
    ui_->viewDetails->setEnabled(shown > 0);
}

void ProductListPage::chooseCurrent() {
    QListWidgetItem* item = ui_->products->currentItem();
    if (!item || item->isHidden()) return;
    for (const Product& product : catalog()) {
        if (product.sku == item->data(Qt::UserRole).toString()) emit productChosen(product);
    }
}

}  // namespace demo
