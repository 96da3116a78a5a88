#include <QApplication>

#include "ui/Messages.h"
#include "ui/SystemLocale.h"
#include "ui/Windows.h"
#include "ui/u_main.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    zelk::SetApplicationTitle(QStringLiteral("Berechnung ZELK"));
    const zelk::ApplicationWindows windows(zelk::LocaleFromEnvironment());
    QObject::connect(zelk::f_main, &zelk::Tf_main::Closed, &app, &QApplication::quit);
    zelk::f_main->show();
    return QApplication::exec();
}
