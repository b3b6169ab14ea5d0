// quarra-host-qt-example: a Qt host that links the Qt adapter from the
// installed package (find_package(quarra COMPONENTS qt)) and builds a tracked
// field; run with QT_QPA_PLATFORM=offscreen where there is no display.
#include <cstdio>

#include <QApplication>

#include <quarra/Version.hpp>
#include <quarra/qt/TrackedLineEdit.hpp>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    quarra::qt::TrackedLineEdit field;
    field.setText(QStringLiteral("typed"));
    std::printf("{\"qt\":true,\"version\":\"%s\"}\n", quarra::versionString());
    return field.text() == QStringLiteral("typed") ? 0 : 1;
}
