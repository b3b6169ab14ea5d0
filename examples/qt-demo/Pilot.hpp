#pragma once
// The autopilot's hands: real mouse clicks and key presses through QTest,
// waits with a time-out, and screenshots of the window (with the sign-in
// dialog drawn over it while it is open).
#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

namespace demo {

class Pilot {
public:
    explicit Pilot(QString folder);

    // False, with `problem` set, when `condition` stays false for 30 s.
    bool waitFor(const QString& what, const std::function<bool()>& condition);
    // Lets a screen's automatic enter event (0.2 s after it appears) go out.
    void pause(int ms = 400);
    void click(QWidget* widget);
    // Clicks into the field, then types at a person's pace.
    void type(QWidget* field, const QString& text);
    // `window`, and `dialog` over it when given.
    void screenshot(const QString& name, QWidget* window, QWidget* dialog = nullptr);

    QString problem;
    QStringList screenshots;

private:
    QString folder_;
};

}  // namespace demo
