#pragma once
// The shop has no photos: each product gets a painted tile in its
// category's colour with its initials.
#include <QIcon>
#include <QPixmap>

#include "Catalog.hpp"

namespace demo {

QPixmap productPicture(const Product& product, int side);
QIcon productArt(const Product& product, int side);

}  // namespace demo
