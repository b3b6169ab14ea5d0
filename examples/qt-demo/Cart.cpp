#include "Cart.hpp"

namespace demo {

void Cart::add(const Product& product, int quantity) {
    for (CartLine& line : lines_) {
        if (line.product.sku == product.sku) {
            line.quantity += quantity;
            return;
        }
    }
    lines_.append({product, quantity});
}

int Cart::itemCount() const {
    int count = 0;
    for (const CartLine& line : lines_) count += line.quantity;
    return count;
}

double Cart::subtotal() const {
    double sum = 0;
    for (const CartLine& line : lines_) sum += line.product.price * line.quantity;
    return sum;
}

}  // namespace demo
