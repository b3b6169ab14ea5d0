#include "ShopStyle.hpp"

#include <QApplication>
#include <QPalette>
#include <QStyle>
#include <QStyleFactory>

namespace demo {
namespace {

constexpr const char* kStyleSheet = R"(
QFrame[role="banner"] { background: #1b5e20; }
QLabel[role="brand"] { color: white; font-size: 20px; font-weight: 700; }
QLabel[role="tagline"] { color: #c8e6c9; font-size: 13px; }
QLabel[role="title"] { font-size: 22px; font-weight: 600; color: #212121; }
QLabel[role="price"] { font-size: 20px; font-weight: 600; color: #1b5e20; }
QLabel[role="muted"] { color: #616161; }
QPushButton { padding: 6px 14px; border-radius: 4px; border: 1px solid #bdbdbd; background: white; }
QPushButton:hover { background: #f1f8f1; }
QPushButton:focus { border-color: #2e7d32; }
QPushButton[flat="true"] { border: none; background: transparent; color: #1b5e20; font-weight: 600; padding-left: 0; }
QPushButton[role="primary"] { background: #2e7d32; color: white; border: 1px solid #1b5e20; font-weight: 600; }
QPushButton[role="primary"]:hover { background: #388e3c; }
QPushButton[role="primary"]:disabled { background: #a5d6a7; border-color: #a5d6a7; }
QGroupBox { font-weight: 600; border: 1px solid #d6d6d6; border-radius: 4px; margin-top: 10px; padding: 8px 4px 4px 4px; }
QGroupBox::title { subcontrol-origin: margin; subcontrol-position: top left; left: 10px; padding: 0 4px; }
QGroupBox QLabel, QGroupBox QLineEdit { font-weight: normal; }
QLineEdit, QSpinBox { padding: 4px 6px; }
QListWidget::item { padding: 4px; }
QDockWidget::title { background: #eceff1; padding: 6px; font-weight: 600; }
)";

}  // namespace

void applyShopStyle(QApplication& app) {
    app.setStyle(QStyleFactory::create("Fusion"));
    QPalette palette = app.style()->standardPalette();
    palette.setColor(QPalette::Window, QColor(0xf7, 0xf7, 0xf5));
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::AlternateBase, QColor(0xf1, 0xf8, 0xf1));
    palette.setColor(QPalette::Highlight, QColor(0x2e, 0x7d, 0x32));
    app.setPalette(palette);
    app.setStyleSheet(kStyleSheet);
}

}  // namespace demo
