#include <QApplication>

#include "ui/u_main.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Berechnung ZELK"));
    zelk::Tf_main window;
    window.show();
    return QApplication::exec();
}
