#pragma once
// What the shop sells: a handful of running gear with real prices.
#include <QList>
#include <QString>

namespace demo {

struct Product {
    QString sku;
    QString name;
    QString category;
    QString blurb;
    double price = 0;  // EUR, VAT included
};

const QList<Product>& catalog();

// "64.50 €"
QString euros(double amount);

}  // namespace demo
