// Pictures of the windows for a person to look at: the main window with the demo
// curve, the day dialog and the preview chart, and the main window after an import
// and a calculation. They go to the build folder's "screenshots".
#include <QAction>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

#include "support/TestSupport.h"
#include "ui/ConvEdit.h"
#include "ui/dialogs/u_Sensor.h"
#include "ui/dialogs/u_Sensorgrafik.h"
#include "ui/u_main.h"

using namespace zelk;
using namespace zelk::test;

namespace {

std::vector<std::string> ThreeDays() {
    const std::vector<std::vector<double>> days = {
        {6.0, 7.5, 9.0, 10.5, 9.5, 7.0, 5.5, 6.0, 7.5, 8.5, 9.0, 8.5, 11.2, 13.4, 12.0, 9.8, 7.7, 6.1},
        {5.2, 5.8, 7.9, 11.4, 14.0, 12.2, 9.1, 6.6, 5.9, 6.4, 8.8, 10.1, 9.4, 7.2, 6.0, 5.5, 5.9, 6.3},
        {7.0, 6.5, 6.1, 6.8, 8.4, 12.5, 15.8, 13.0, 10.4, 8.0, 6.9, 6.2, 7.4, 9.9, 11.0, 9.1, 7.5, 6.8}};
    std::vector<std::string> lines = {"ICode_DEMO4711", SensorHeader()};
    int id = 1;
    for (size_t d = 0; d < days.size(); ++d) {
        const std::string date = "0" + std::to_string(d + 1) + "-Jun-24";
        for (size_t i = 0; i < days[d].size(); ++i) {
            const int minutes = 8 * 60 + 45 * static_cast<int>(i);
            const QString time = QStringLiteral("%1:%2")
                                     .arg(minutes / 60, 2, 10, QLatin1Char('0'))
                                     .arg(minutes % 60, 2, 10, QLatin1Char('0'));
            lines.push_back(Reading(id++, date, time.toStdString(), QString::number(days[d][i], 'f', 1).toStdString()));
        }
    }
    return lines;
}

void Save(QWidget* widget, const QString& name) {
    const QString path = OutputDir() + QLatin1Char('/') + name;
    QVERIFY2(widget->grab().save(path), qPrintable(path));
}

}  // namespace

class ScreenshotTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { CancelModalAnswers(); }
    void demoCurveThenImport();
};

void ScreenshotTest::demoCurveThenImport() {
    const QTemporaryDir dir;
    const Program program(WriteFile(dir, QStringLiteral("three.txt"), ThreeDays()));
    Tf_main& w = *f_main;
    QTest::qWait(50);
    Save(&w, QStringLiteral("main_demo.png"));

    WhenModal([](QWidget* modal) {
        auto* dialog = qobject_cast<Tf_Sensor*>(modal);
        if (!dialog) return false;
        dialog->lb_Sensor->setCurrentRow(0);
        dialog->Button3->click();
        QTest::qWait(50);
        Save(dialog, QStringLiteral("day_dialog.png"));
        Save(f_Sensorgrafik, QStringLiteral("chart.png"));
        dialog->Button1->click();
        return true;
    });
    w.ImportSensordaten1->trigger();
    w.Button1->click();
    w.img_LayoutMouseMove(300, 120);
    QTest::qWait(50);
    Save(&w, QStringLiteral("main_import.png"));
    QVERIFY(!w.ce_ZELK->text().isEmpty());
    f_Sensorgrafik->close();
}

QTEST_MAIN(ScreenshotTest)
#include "tst_screenshots.moc"
