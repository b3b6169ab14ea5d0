#include "ProductArt.hpp"

#include <QPainter>
#include <QPainterPath>

namespace demo {
namespace {

QColor colourOf(const QString& category) {
    if (category == "Shoes") return QColor(0x2e, 0x7d, 0x32);
    if (category == "Apparel") return QColor(0x15, 0x65, 0xc0);
    if (category == "Packs") return QColor(0xef, 0x6c, 0x00);
    return QColor(0x6a, 0x1b, 0x9a);
}

QString initialsOf(const QString& name) {
    QString initials;
    for (const QString& word : name.split(' ', Qt::SkipEmptyParts)) {
        if (word[0].isLetter() && initials.size() < 2) initials += word[0].toUpper();
    }
    return initials;
}

}  // namespace

QPixmap productPicture(const Product& product, int side) {
    QPixmap picture(side, side);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor colour = colourOf(product.category);
    QLinearGradient shade(0, 0, side, side);
    shade.setColorAt(0, colour.lighter(130));
    shade.setColorAt(1, colour);
    QPainterPath tile;
    tile.addRoundedRect(QRectF(0, 0, side, side), side / 6.0, side / 6.0);
    painter.fillPath(tile, shade);
    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(side * 2 / 5);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRect(0, 0, side, side), Qt::AlignCenter, initialsOf(product.name));
    return picture;
}

QIcon productArt(const Product& product, int side) { return QIcon(productPicture(product, side)); }

}  // namespace demo
