// The main road: import through the file chooser, the day dialog, the grid, the
// curve, "Berechne" and the results; the preview chart; failures on the way.
#include <QAction>
#include <QChart>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLegend>
#include <QLegendMarker>
#include <QLineEdit>
#include <QLineSeries>
#include <QListWidget>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QValueAxis>
#include <QtTest>
#include <optional>

#include "support/TestSupport.h"
#include "ui/CStringGrid.h"
#include "ui/ConvEdit.h"
#include "ui/PlotBackground.h"
#include "ui/PlotLayers.h"
#include "ui/dialogs/u_Sensor.h"
#include "ui/dialogs/u_Sensorgrafik.h"
#include "ui/u_main.h"

using namespace zelk;
using namespace zelk::test;

namespace {

const std::vector<std::string> kExampleValues = {"6.0", "7.5", "9.0", "10.5", "9.5", "7.0",
                                                 "5.5", "6.0", "7.5", "8.5",  "9.0", "8.5"};

std::string TwoDigitsOf(int value) { return (value < 10 ? "0" : "") + std::to_string(value); }

// The day of the worked example: twelve readings 15 minutes apart from 08:00.
std::vector<std::string> ExampleFile(const std::string& date, char separator = '.') {
    std::vector<std::string> lines = {"ICode_PAT0815", SensorHeader()};
    for (size_t i = 0; i < kExampleValues.size(); ++i) {
        std::string value = kExampleValues[i];
        std::replace(value.begin(), value.end(), '.', separator);
        const int minutes = 8 * 60 + 15 * static_cast<int>(i);
        lines.push_back(
            Reading(static_cast<int>(i + 1), date, TwoDigitsOf(minutes / 60) + ":" + TwoDigitsOf(minutes % 60), value));
    }
    return lines;
}

// Days "01-Jun-24", "02-Jun-24", ... with `readings` values each from 06:00 on.
std::vector<std::string> DaysFile(int days, int readings = 4) {
    std::vector<std::string> lines = {SensorHeader()};
    int id = 1;
    for (int d = 1; d <= days; ++d)
        for (int r = 0; r < readings; ++r)
            lines.push_back(
                Reading(id++, TwoDigitsOf(d) + "-Jun-24", TwoDigitsOf(6 + r) + ":00", std::to_string(4 + d) + ".5"));
    return lines;
}

QStringList Row(int row) {
    QStringList cells;
    for (int col = 0; col < 6; ++col) cells << f_main->csg_Berechnung->Cells(col, row);
    return cells;
}

int BlueOnCurveLayer() {
    const QImage& layer = f_main->img_ZwEbene->Picture();
    return CountColour(layer, layer.rect(), qRgb(0, 0, 255));
}

}  // namespace

class RoadTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() {
        CancelModalAnswers();
        QCOMPARE(ModalTimeouts(), 0);
    }
    void importOneDayAndCalculate();
    void endValueOptionCutsTheLastRow();
    void englishModeOnACommaSystem();
    void noDateMessageThenSecondDay();
    void abortKeepsTheClearedResults();
    void cancelledChooserOrMissingFileShowsNoDialog();
    void rejectedFileStillOpensTheDialog();
    void gridErrorIsShownAndCommandsComeBack();
    void previewChartOfFiveDays();
    void previewOfThreeDaysAndAgain();
    void readFileLeavesNoDaySelected();
    void timeToMinutes();
};

void RoadTest::importOneDayAndCalculate() {
    const QTemporaryDir dir;
    const QString path = WriteFile(dir, QStringLiteral("example.txt"), ExampleFile("14-Jun-24"));
    Program program(path);
    Tf_main& w = *f_main;
    QVERIFY(BlueOnCurveLayer() > 0);

    bool busyDuringDialog = false;
    QStringList listed;
    int selectedBefore = 0;
    QString cleared;
    WhenDayDialog([&](Tf_Sensor& dialog) {
        busyDuringDialog = CommandsDisabled();
        for (int i = 0; i < dialog.lb_Sensor->count(); ++i) listed << dialog.lb_Sensor->item(i)->text();
        selectedBefore = static_cast<int>(dialog.lb_Sensor->selectedItems().size());
        cleared = f_main->ce_Mittelwert->text() + f_main->l_Datum->text();
        QCOMPARE(dialog.cb_Raster->currentText(), QStringLiteral("5"));
        QVERIFY(dialog.rg_Art->isHidden());
        QVERIFY(dialog.l_charTag->isHidden());
        dialog.Button1->click();  // "weiter" takes the only day without a click in the list
    });
    w.ImportSensordaten1->trigger();

    QCOMPARE(program.Chooser().calls, 1);
    QCOMPARE(program.Chooser().lastTitle, QStringLiteral("Datenimport"));
    QCOMPARE(program.Chooser().lastFilters,
             (QStringList{QStringLiteral("Sensordaten (*.txt)"), QStringLiteral("alle Dateien (*)")}));
    QVERIFY(busyDuringDialog);
    QVERIFY(CommandsEnabled());
    QCOMPARE(listed, QStringList{QStringLiteral("14-Jun-24")});
    QCOMPARE(selectedBefore, 0);
    QVERIFY(cleared.isEmpty());
    QCOMPARE(f_Sensor->lb_Sensor->selectedItems().size(), 1);

    const MainState& s = w.State();
    QCOMPARE(s.f_Sensor.SelectedDate, std::string("14-Jun-24"));
    QCOMPARE(w.l_Datum->text(), QStringLiteral("14-Jun-24"));
    QCOMPARE(w.ce_PID->text(), QStringLiteral("PAT0815"));
    QCOMPARE(s.StartHour, 8);
    QCOMPARE(w.ce_Mittelwert->text(), QStringLiteral("7.88"));
    QCOMPARE(w.ce_StdAbw->text(), QStringLiteral("1.49"));
    QVERIFY(w.ce_ZELK->text().isEmpty());
    // The new curve only: 6.0 mmol/L at x 82, row 192; the demo curve is gone.
    QCOMPARE(Rgb(w.img_ZwEbene->Picture(), 82, 192), 0x0000FFu);
    QCOMPARE(CountColour(w.img_ZwEbene->Picture(), QRect(140, 0, 1140, 800), qRgb(0, 0, 255)), 0);
    // The background's hour labels start at 08:00.
    QVERIFY(CountColour(w.img_Form->Picture(), QRect(67, 247, 26, 12), qRgb(0, 0, 0)) > 0);
    QCOMPARE(QString::fromStdString(HourLabelText(s.StartHour)), QStringLiteral("08:00"));

    w.Button1->click();
    QVERIFY(CommandsEnabled());
    QCOMPARE(Row(0), (QStringList{"Tag", "Zeit", "BG Nadir", "Zeit", "BG Peak", QString::fromUtf8("\u0394G > 1 SD")}));
    QCOMPARE(Row(1), (QStringList{"1", "08:00", " 6.0", "08:45", "10.5", " 4.5"}));
    QCOMPARE(Row(2), (QStringList{"1", "09:30", " 5.5", "10:30", " 9.0", " 3.5"}));
    QCOMPARE(Row(3), (QStringList{"", "", "", "", "", ""}));
    QCOMPARE(w.ce_ZELK->text(), QStringLiteral("4.0"));
    QVERIFY(!s.PeakFirst);
    // A language switch after the calculation keeps the order it chose.
    w.en1->trigger();
    QCOMPARE(w.csg_Berechnung->Cells(2, 0), QStringLiteral("G nadir"));
    QCOMPARE(w.csg_Berechnung->Cells(4, 0), QStringLiteral("G peak"));
}

void RoadTest::endValueOptionCutsTheLastRow() {
    const QTemporaryDir dir;
    Program program(WriteFile(dir, QStringLiteral("example.txt"), ExampleFile("14-Jun-24")));
    Tf_main& w = *f_main;
    WhenDayDialog([](Tf_Sensor& dialog) { dialog.Button1->click(); });
    w.ImportSensordaten1->trigger();
    w.cb_Endwert->click();
    QVERIFY(!w.State().cb_Endwert);
    w.Button1->click();
    QCOMPARE(w.csg_Berechnung->RowCount(), 2);
    QCOMPARE(Row(1), (QStringList{"1", "08:00", " 6.0", "08:45", "10.5", " 4.5"}));
    QCOMPARE(w.ce_ZELK->text(), QStringLiteral("4.5"));
    // The display unit mg/dL, both options again.
    w.cb_Endwert->click();
    w.State().rg_Anzeige = 1;
    w.Core().ShowStatistics();
    w.Button1->click();
    QCOMPARE(Row(1), (QStringList{"1", "08:00", " 108", "08:45", " 189", "  81"}));
    QCOMPARE(Row(2), (QStringList{"1", "09:30", "  99", "10:30", " 162", "  63"}));
    QCOMPARE(w.ce_ZELK->text(), QStringLiteral("72"));
    QCOMPARE(w.Label4->text(), QStringLiteral("mg/dl"));
}

void RoadTest::englishModeOnACommaSystem() {
    const QTemporaryDir dir;
    Program program(WriteFile(dir, QStringLiteral("example.txt"), ExampleFile("14-Jun-24", ',')),
                    LocaleInfo::FromName("de_DE.UTF-8"));
    Tf_main& w = *f_main;
    WhenDayDialog([](Tf_Sensor& dialog) { dialog.Button1->click(); });
    w.ImportSensordaten1->trigger();
    QCOMPARE(w.ce_Mittelwert->text(), QStringLiteral("7,88"));
    w.Button1->click();
    QCOMPARE(Row(1), (QStringList{"1", "08:00", " 6,0", "08:45", "10,5", " 4,5"}));
    QCOMPARE(w.ce_ZELK->text(), QStringLiteral("4,0"));

    w.en1->trigger();
    WhenDayDialog([](Tf_Sensor& dialog) { dialog.Button1->click(); });
    w.ImportSensordaten1->trigger();
    QCOMPARE(w.ce_Mittelwert->text(), QStringLiteral("7.88"));
    QCOMPARE(w.ce_StdAbw->text(), QStringLiteral("1.49"));
    w.Button1->click();
    QCOMPARE(Row(1), (QStringList{"1", "08:00", " 6.0", "08:45", "10.5", " 4.5"}));
    QCOMPARE(Row(2), (QStringList{"1", "09:30", " 5.5", "10:30", " 9.0", " 3.5"}));
    QCOMPARE(w.ce_ZELK->text(), QStringLiteral("4.0"));
    QCOMPARE(w.ce_Mittelwert->text(), QStringLiteral("7.88"));
}

void RoadTest::noDateMessageThenSecondDay() {
    const QTemporaryDir dir;
    Program program(WriteFile(dir, QStringLiteral("two.txt"), DaysFile(2)));
    Tf_main& w = *f_main;
    QString caption;
    QString message;
    bool stillOpen = false;
    WhenDayDialog([&](Tf_Sensor& dialog) {
        AnswerMessageBox(&caption, &message);
        dialog.Button1->click();
        stillOpen = dialog.isVisible() && w.State().f_Sensor.SelectedDate.empty();
        // The answer after the message: the second day.
        WhenDayDialog([](Tf_Sensor& again) {
            again.lb_Sensor->setCurrentRow(1);
            again.Button1->click();
        });
    });
    w.ImportSensordaten1->trigger();
    QCOMPARE(caption, QStringLiteral("Berechnung ZELK"));
    QCOMPARE(message, QString::fromUtf8("Zuerst ein Datum ausw\u00e4hlen"));
    QVERIFY(stillOpen);
    QCOMPARE(w.State().f_Sensor.SelectedDate, std::string("02-Jun-24"));
    QCOMPARE(w.l_Datum->text(), QStringLiteral("02-Jun-24"));
    QCOMPARE(w.State().StartHour, 6);
    QCOMPARE(w.ce_Mittelwert->text(), QStringLiteral("6.50"));
    QVERIFY(CommandsEnabled());
}

void RoadTest::abortKeepsTheClearedResults() {
    const QTemporaryDir dir;
    Program program(WriteFile(dir, QStringLiteral("example.txt"), ExampleFile("14-Jun-24")));
    Tf_main& w = *f_main;
    w.Button1->click();
    QVERIFY(!w.ce_ZELK->text().isEmpty());
    const std::string selectedBefore = w.State().f_Sensor.SelectedDate;
    bool openAfterEscape = false;
    WhenDayDialog([&](Tf_Sensor& dialog) {
        // No close box: the dialog ends through its buttons only.
        dialog.reject();
        QTest::keyClick(&dialog, Qt::Key_Escape);
        openAfterEscape = dialog.isVisible();
        dialog.Button2->click();
    });
    w.ImportSensordaten1->trigger();
    QVERIFY(openAfterEscape);
    QVERIFY(!f_Sensor->isVisible());
    QCOMPARE(w.State().f_Sensor.SelectedDate, selectedBefore);
    QVERIFY(w.ce_Mittelwert->text().isEmpty());
    QVERIFY(w.ce_StdAbw->text().isEmpty());
    QVERIFY(w.ce_ZELK->text().isEmpty());
    QVERIFY(w.l_Datum->text().isEmpty());
    QVERIFY(Row(1).join(QString()).isEmpty());
    QCOMPARE(w.csg_Berechnung->Cells(0, 0), QStringLiteral("Tag"));
    QCOMPARE(BlueOnCurveLayer(), 0);
    QCOMPARE(w.State().StartHour, 19);
    QVERIFY(CommandsEnabled());
}

void RoadTest::cancelledChooserOrMissingFileShowsNoDialog() {
    const QTemporaryDir dir;
    for (const QString& path : {QString(), dir.filePath(QStringLiteral("missing.txt")), dir.path()}) {
        Program program(path);
        Tf_main& w = *f_main;
        bool dialogShown = false;
        WhenDayDialog([&](Tf_Sensor& dialog) {
            dialogShown = true;
            dialog.Button2->click();
        });
        w.ImportSensordaten1->trigger();
        QCOMPARE(program.Chooser().calls, 1);
        QVERIFY(w.ce_Mittelwert->text().isEmpty());
        QCOMPARE(BlueOnCurveLayer(), 0);
        QVERIFY(CommandsEnabled());
        QVERIFY(!dialogShown);
        CancelModalAnswers();
    }
}

void RoadTest::rejectedFileStillOpensTheDialog() {
    const QTemporaryDir dir;
    const QString good = WriteFile(dir, QStringLiteral("example.txt"), ExampleFile("14-Jun-24"));
    const QString wrong = WriteFile(dir, QStringLiteral("wrong.txt"), {"ICode_OTHER42", "Datum\tZeit\tWert"});
    Program program(good);
    Tf_main& w = *f_main;
    WhenDayDialog([](Tf_Sensor& dialog) { dialog.Button1->click(); });
    w.ImportSensordaten1->trigger();

    program.SetImportPath(wrong);
    QString message;
    QStringList listed;
    AnswerMessageBox(nullptr, &message);
    WhenDayDialog([&](Tf_Sensor& dialog) {
        for (int i = 0; i < dialog.lb_Sensor->count(); ++i) listed << dialog.lb_Sensor->item(i)->text();
        dialog.Button2->click();
    });
    w.ImportSensordaten1->trigger();
    QCOMPARE(message, QStringLiteral("Falsche Sensordatei!"));
    QCOMPARE(listed, QStringList{QStringLiteral("14-Jun-24")});
    // The identifier line was taken before the header was refused.
    QCOMPARE(w.ce_PID->text(), QStringLiteral("OTHER42"));
}

void RoadTest::gridErrorIsShownAndCommandsComeBack() {
    const QTemporaryDir dir;
    Program program(
        WriteFile(dir, QStringLiteral("bad.txt"),
                  {SensorHeader(), Reading(1, "31-Feb-24", "08:00", "6.0"), Reading(2, "31-Feb-24", "08:15", "7.0")}));
    Tf_main& w = *f_main;
    QString caption;
    QString message;
    WhenDayDialog([&](Tf_Sensor& dialog) {
        AnswerMessageBox(&caption, &message);
        dialog.Button1->click();
    });
    w.ImportSensordaten1->trigger();
    QCOMPARE(caption, QStringLiteral("Berechnung ZELK"));
    QVERIFY(!message.isEmpty());
    QVERIFY(message.endsWith(QLatin1Char('.')));
    QVERIFY(CommandsEnabled());
    QVERIFY(w.l_Datum->text().isEmpty());

    // A grid step the grid refuses.
    program.SetImportPath(WriteFile(dir, QStringLiteral("good.txt"), ExampleFile("14-Jun-24")));
    WhenDayDialog([&](Tf_Sensor& dialog) {
        dialog.cb_Raster->lineEdit()->selectAll();
        QTest::keyClicks(dialog.cb_Raster->lineEdit(), QStringLiteral("0"));
        AnswerMessageBox(&caption, &message);
        dialog.Button1->click();
    });
    w.ImportSensordaten1->trigger();
    QCOMPARE(w.State().f_Sensor.cb_RasterText, std::string("0"));
    QCOMPARE(w.State().f_Sensor.cb_RasterIndex, -1);
    QVERIFY(message.contains(QStringLiteral("'0'")));
    QVERIFY(CommandsEnabled());
    QVERIFY(w.l_Datum->text().isEmpty());
}

void RoadTest::previewChartOfFiveDays() {
    const QTemporaryDir dir;
    Program program(WriteFile(dir, QStringLiteral("seven.txt"), DaysFile(7, 3)));
    Tf_main& w = *f_main;
    Tf_Sensorgrafik& chart = *f_Sensorgrafik;
    QRect chartGeometry;
    WhenDayDialog([&](Tf_Sensor& dialog) {
        dialog.lb_Sensor->setCurrentRow(5);
        dialog.Button3->click();
        chartGeometry = chart.frameGeometry();
        dialog.Button1->click();
    });
    w.ImportSensordaten1->trigger();
    QVERIFY(chart.isVisible());
    QCOMPARE(chart.size(), QSize(870, 500));
    // Centred on the main window the first time.
    QCOMPARE(chartGeometry.topLeft(), w.frameGeometry().topLeft() + QPoint((w.frameGeometry().width() - 870) / 2,
                                                                           (w.frameGeometry().height() - 500) / 2));
    QCOMPARE(chart.Chart1->title(), QStringLiteral("Sensordaten"));
    for (int i = 0; i < 5; ++i) {
        QLineSeries* series = chart.Series[static_cast<size_t>(i)];
        QVERIFY(series->isVisible());
        QCOMPARE(series->name(), QStringLiteral("0%1-jun-24").arg(i + 1));
        QCOMPARE(series->count(), 3);
        QCOMPARE(series->at(0), QPointF(6.0, 4.5 + i + 1));
        QCOMPARE(series->at(2).x(), 8.0);
    }
    QCOMPARE(chart.Series[0]->pen().color(), QColor(255, 0, 0));
    QCOMPARE(chart.Series[0]->pen().width(), 2);
    QCOMPARE(chart.Series[1]->pen().color(), QColor(0, 128, 0));
    QCOMPARE(chart.Series[2]->pen().color(), QColor(0, 0, 65));
    QCOMPARE(chart.Series[3]->pen().color(), QColor(0, 0, 255));
    QCOMPARE(chart.Series[3]->pen().style(), Qt::DotLine);
    QCOMPARE(chart.Series[3]->pen().width(), 1);
    QCOMPARE(chart.Series[4]->pen().color(), QColor(128, 0, 128));
    QCOMPARE(chart.BottomAxis->min(), 0.0);
    QCOMPARE(chart.BottomAxis->max(), 24.0);
    QCOMPARE(chart.LeftAxis->min(), 0.0);
    QVERIFY(chart.LeftAxis->max() >= 9.5);
    QCOMPARE(w.State().f_Sensor.SelectedDate, std::string("06-Jun-24"));
    QCOMPARE(w.l_Datum->text(), QStringLiteral("06-Jun-24"));
    // The grid build switched the preview's filter off: its 72 hours take day 7 too.
    QCOMPARE(w.ce_Mittelwert->text(), QStringLiteral("11.00"));
    chart.close();
}

void RoadTest::previewOfThreeDaysAndAgain() {
    const QTemporaryDir dir;
    Program program(WriteFile(dir, QStringLiteral("three.txt"), DaysFile(3)));
    Tf_main& w = *f_main;
    Tf_Sensorgrafik& chart = *f_Sensorgrafik;
    w.en1->trigger();
    QPoint placed;
    WhenDayDialog([&](Tf_Sensor& dialog) {
        dialog.Button3->click();
        placed = chart.pos();
        chart.resize(400, 300);
        chart.move(placed + QPoint(10, 10));
        dialog.Button3->click();
        dialog.Button2->click();
    });
    w.ImportSensordaten1->trigger();
    QCOMPARE(chart.size(), QSize(870, 500));
    QCOMPARE(chart.pos(), placed + QPoint(10, 10));
    QCOMPARE(chart.Chart1->title(), QStringLiteral("Sensor data"));
    QCOMPARE(chart.windowTitle(), QStringLiteral("G - Values"));
    for (int i = 0; i < 3; ++i) {
        QVERIFY(chart.Series[static_cast<size_t>(i)]->isVisible());
        QCOMPARE(chart.Series[static_cast<size_t>(i)]->count(), 4);
    }
    int legendEntries = 0;
    for (QLegendMarker* marker : chart.Chart1->legend()->markers())
        if (marker->isVisible()) ++legendEntries;
    QCOMPARE(legendEntries, 3);
    QVERIFY(!chart.Series[3]->isVisible());
    QVERIFY(!chart.Series[4]->isVisible());
    chart.close();
}

void RoadTest::readFileLeavesNoDaySelected() {
    const QTemporaryDir dir;
    Program program(WriteFile(dir, QStringLiteral("seven.txt"), DaysFile(7, 2)));
    Tf_main& w = *f_main;
    WhenDayDialog([](Tf_Sensor& dialog) {
        dialog.lb_Sensor->setCurrentRow(5);
        dialog.Button1->click();
    });
    w.ImportSensordaten1->trigger();
    QCOMPARE(w.State().f_Sensor.SelectedDate, std::string("06-Jun-24"));
    // The same file again: a refilled list has no selection, so "weiter" asks for a day.
    int selected = -2;
    QString message;
    WhenDayDialog([&](Tf_Sensor& dialog) {
        selected = static_cast<int>(dialog.lb_Sensor->selectedItems().size());
        AnswerMessageBox(nullptr, &message);
        dialog.Button1->click();
        dialog.Button2->click();
    });
    w.ImportSensordaten1->trigger();
    QCOMPARE(selected, 0);
    QCOMPARE(w.State().f_Sensor.lbItemIndex, -1);
    QCOMPARE(message, QString::fromUtf8("Zuerst ein Datum ausw\u00e4hlen"));
    // "weiter" without a day emptied the chosen day, and "Abbruch" leaves it so.
    QCOMPARE(w.State().f_Sensor.SelectedDate, std::string());
}

void RoadTest::timeToMinutes() {
    QCOMPARE(Tf_Sensor::TimeToMinutes("13:45"), 825);
    QCOMPARE(Tf_Sensor::TimeToMinutes("13:45:10"), 825);
    QCOMPARE(Tf_Sensor::TimeToMinutes("7:05"), 5);
    QCOMPARE(Tf_Sensor::TimeToMinutes("00:00"), 0);
    QCOMPARE(Tf_Sensor::TimeToMinutes("ab:cd"), 0);
    QCOMPARE(Tf_Sensor::TimeToMinutes("23"), 23 * 60);
    QCOMPARE(Tf_Sensor::TimeToMinutes(""), 0);
}

QTEST_MAIN(RoadTest)
#include "tst_road.moc"
