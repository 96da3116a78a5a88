#include <QApplication>

#include "data/FileHandle.h"
#include "ui/Messages.h"
#include "ui/QtText.h"
#include "ui/SystemLocale.h"
#include "ui/Windows.h"
#include "ui/u_main.h"
#include "windowlogic/TextTables.h"

int main(int argc, char* argv[]) {
    zelk::IgnoreFileSizeSignal();
    QApplication app(argc, argv);
    zelk::SetApplicationTitle(zelk::AnsiText(zelk::GermanTexts().mainCaption));
    const zelk::ApplicationWindows windows(zelk::LocaleFromEnvironment());
    QObject::connect(zelk::f_main, &zelk::Tf_main::Closed, &app, &QApplication::quit);
    zelk::f_main->show();
    return QApplication::exec();
}
