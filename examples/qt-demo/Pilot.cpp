#include "Pilot.hpp"

#include <QDir>
#include <QPainter>
#include <QTest>
#include <QWidget>

namespace demo {
namespace {

constexpr int kServiceTimeoutMs = 30000;
constexpr int kKeystrokeMs = 60;

// The dialog centred over the dimmed window, with a thin frame, as a modal sheet looks.
QPixmap withDialog(QPixmap base, QWidget& dialog) {
    const QPixmap sheet = dialog.grab();
    QPainter painter(&base);
    painter.fillRect(base.rect(), QColor(0, 0, 0, 90));
    const QPoint at((base.width() - sheet.width()) / 2, (base.height() - sheet.height()) / 3);
    painter.setPen(QColor(0x9e, 0x9e, 0x9e));
    painter.drawRect(QRect(at, sheet.size()).adjusted(-1, -1, 0, 0));
    painter.drawPixmap(at, sheet);
    return base;
}

}  // namespace

Pilot::Pilot(QString folder) : folder_(std::move(folder)) {
    if (!folder_.isEmpty()) QDir().mkpath(folder_);
}

bool Pilot::waitFor(const QString& what, const std::function<bool()>& condition) {
    if (QTest::qWaitFor(condition, kServiceTimeoutMs)) return true;
    problem = QString("%1 did not happen within %2 s").arg(what).arg(kServiceTimeoutMs / 1000);
    return false;
}

void Pilot::pause(int ms) { QTest::qWait(ms); }

void Pilot::click(QWidget* widget) {
    QTest::mouseClick(widget, Qt::LeftButton, {}, widget->rect().center());
    QTest::qWait(150);
}

void Pilot::type(QWidget* field, const QString& text) {
    QTest::mouseClick(field, Qt::LeftButton, {}, QPoint(field->width() / 3, field->height() / 2));
    for (QChar c : text) {
        QTest::keyClick(field, c.toLatin1());
        QTest::qWait(kKeystrokeMs);
    }
}

void Pilot::screenshot(const QString& name, QWidget* window, QWidget* dialog) {
    if (folder_.isEmpty()) return;
    const QString path = QDir(folder_).filePath(name);
    QPixmap image = window->grab();
    if (dialog) image = withDialog(image, *dialog);
    if (image.save(path)) {
        screenshots << path;
    } else if (problem.isEmpty()) {
        problem = "could not write " + path;
    }
}

}  // namespace demo
