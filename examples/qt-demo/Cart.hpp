#pragma once
// The shopper's cart: products and quantities, and what they come to.
#include <QList>

#include "Catalog.hpp"

namespace demo {

struct CartLine {
    Product product;
    int quantity = 0;
};

class Cart {
public:
    void add(const Product& product, int quantity);
    void clear() { lines_.clear(); }
    const QList<CartLine>& lines() const { return lines_; }
    int itemCount() const;
    double subtotal() const;
    double shipping() const { return lines_.isEmpty() ? 0 : kShipping; }
    double total() const { return subtotal() + shipping(); }

    static constexpr double kShipping = 4.90;

private:
    QList<CartLine> lines_;
};

}  // namespace demo
