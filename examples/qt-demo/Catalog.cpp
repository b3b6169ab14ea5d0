#include "Catalog.hpp"

#include <QLocale>

namespace demo {

const QList<Product>& catalog() {
    static const QList<Product> products = {
        {"SKU-4471", "Trail running shoes", "Shoes",
         "Grippy 5 mm lugs, a rock plate and a roomy toe box for long days on rough ground.", 64.50},
        {"SKU-2210", "Merino running socks", "Apparel",
         "Light cushioning and merino wool that stays warm when wet. Pack of three.", 18.90},
        {"SKU-3305", "Hydration vest 8 L", "Packs",
         "Two soft flasks up front, a stretch back pocket and a whistle on the sternum strap.", 89.00},
        {"SKU-5120", "Storm shell jacket", "Apparel",
         "Taped seams, a peaked hood and it packs into its own chest pocket.", 129.00},
        {"SKU-6604", "Headlamp 400 lm", "Accessories",
         "USB-C rechargeable, red night mode and a bounce-free strap.", 39.95},
        {"SKU-7018", "Carbon trekking poles", "Accessories",
         "Folding, 290 g the pair, with cork grips and lock-tight clamps.", 74.00},
    };
    return products;
}

QString euros(double amount) { return QLocale(QLocale::English).toString(amount, 'f', 2) + " €"; }

}  // namespace demo
