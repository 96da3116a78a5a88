// The day dialog inside the program: the grid-step list chosen or typed, the day list's
// rows, the preview chart's surface, an empty list, a day without readings, an import
// that stops on a duplicate, and the table window under the preview's filter.
#include <QAbstractItemView>
#include <QAction>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QLabel>
#include <QLegend>
#include <QLegendMarker>
#include <QLineEdit>
#include <QLineSeries>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

#include "support/TestSupport.h"
#include "ui/ConvEdit.h"
#include "ui/dialogs/u_Sensor.h"
#include "ui/dialogs/u_Sensorgrafik.h"
#include "ui/dialogs/u_Tabellen.h"
#include "ui/u_main.h"

using namespace zelk;
using namespace zelk::test;

namespace {

// One day from 07:00: two readings in the first 7-minute window, one in the second, one
// at 08:00; in the second 360-minute window a high and a low.
std::vector<std::string> StepFile() {
    return {SensorHeader(),
            Reading(1, "14-Jun-24", "07:00", "5.0"),
            Reading(2, "14-Jun-24", "07:03", "9.0"),
            Reading(3, "14-Jun-24", "07:10", "4.0"),
            Reading(4, "14-Jun-24", "08:00", "6.0"),
            Reading(5, "14-Jun-24", "13:30", "12.0"),
            Reading(6, "14-Jun-24", "14:00", "3.0")};
}

std::string TwoDigitsOf(int value) { return (value < 10 ? "0" : "") + std::to_string(value); }

// Days "01-Jun-24", "02-Jun-24", ... with four readings each from 06:00 on.
std::vector<std::string> DaysFile(int days) {
    std::vector<std::string> lines = {SensorHeader()};
    int id = 1;
    for (int d = 1; d <= days; ++d)
        for (int r = 0; r < 4; ++r)
            lines.push_back(
                Reading(id++, TwoDigitsOf(d) + "-Jun-24", TwoDigitsOf(6 + r) + ":00", std::to_string(4 + d) + ".5"));
    return lines;
}

// Chooses an item from the opened list, as a user does with the keyboard.
void ChooseRaster(Tf_Sensor& dialog, int item) {
    QComboBox* combo = dialog.cb_Raster;
    combo->showPopup();
    combo->view()->setCurrentIndex(combo->model()->index(item, 0));
    QTest::keyClick(combo->view(), Qt::Key_Return);
}

// Types a step over the shown text.
void TypeRaster(Tf_Sensor& dialog, const QString& text) {
    QLineEdit* edit = dialog.cb_Raster->lineEdit();
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

// Imports the file and takes its only day with the grid step that `step` sets.
void ImportWithStep(std::function<void(Tf_Sensor&)> step) {
    WhenDayDialog([step = std::move(step)](Tf_Sensor& dialog) {
        step(dialog);
        dialog.Button1->click();
    });
    f_main->ImportSensordaten1->trigger();
}

// Glukose at a grid minute; -1 for an empty row.
double GridValue(int minute) {
    const WerteTab& grid = f_main->State().werteTab;
    const int row = grid.FindKey(minute);
    return grid.GlukoseEmpty(row) ? -1.0 : grid.Glukose(row);
}

int VisibleLegendEntries(const Tf_Sensorgrafik& chart) {
    int entries = 0;
    for (QLegendMarker* marker : chart.Chart1->legend()->markers())
        if (marker->isVisible()) ++entries;
    return entries;
}

}  // namespace

class DayDialogTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() {
        CancelModalAnswers();
        QCOMPARE(ModalTimeouts(), 0);
    }

    void everyStepItemShowsWhole() {
        const Program program;
        f_Sensor->show();
        QComboBox* combo = f_Sensor->cb_Raster;
        QCOMPARE(combo->geometry().topLeft(), QPoint(266, 8));
        const QLineEdit* edit = combo->lineEdit();
        for (int i = 0; i < combo->count(); ++i) {
            // The edit keeps two pixels of margin on each side of its text.
            QVERIFY2(edit->fontMetrics().horizontalAdvance(combo->itemText(i)) <= edit->width() - 4,
                     qPrintable(combo->itemText(i)));
        }
        f_Sensor->hide();
    }

    void chosen360FillsTheWindowExtremes() {
        const QTemporaryDir dir;
        const Program program(WriteFile(dir, QStringLiteral("step.txt"), StepFile()));
        ImportWithStep([](Tf_Sensor& dialog) { ChooseRaster(dialog, 4); });
        const DayDialogState& day = f_main->State().f_Sensor;
        QCOMPARE(day.cb_RasterText, std::string("360"));
        QCOMPARE(day.cb_RasterIndex, 4);
        QCOMPARE(f_main->State().GridStep, 360);
        // The rise to window 1 (12.0 - 4.0) beats the fall (9.0 - 3.0): window 0 gives its
        // maximum at 07:03, window 1 its minimum at 14:00; nothing else is written.
        QCOMPARE(GridValue(3), 9.0);
        QCOMPARE(GridValue(420), 3.0);
        QCOMPARE(GridValue(0), -1.0);
        QCOMPARE(GridValue(360), -1.0);
    }

    void typed360GivesWindowMeans() {
        const QTemporaryDir dir;
        const Program program(WriteFile(dir, QStringLiteral("step.txt"), StepFile()));
        ImportWithStep([](Tf_Sensor& dialog) {
            TypeRaster(dialog, QStringLiteral("360"));
            // Enter in the edit, or the focus leaving it, keeps the typed step a typed one.
            QTest::keyClick(dialog.cb_Raster->lineEdit(), Qt::Key_Return);
            emit dialog.cb_Raster->lineEdit()->editingFinished();
        });
        const DayDialogState& day = f_main->State().f_Sensor;
        QCOMPARE(day.cb_RasterText, std::string("360"));
        QCOMPARE(day.cb_RasterIndex, -1);
        QCOMPARE(f_main->State().GridStep, 360);
        QCOMPARE(GridValue(0), 6.0);    // 5.0, 9.0, 4.0 and 6.0 from 07:00 to 12:59
        QCOMPARE(GridValue(360), 7.5);  // 12.0 and 3.0 from 13:00 to 18:59
        QCOMPARE(GridValue(720), 0.0);
        QCOMPARE(GridValue(3), -1.0);
    }

    void typed7GivesSevenMinuteWindows() {
        const QTemporaryDir dir;
        const Program program(WriteFile(dir, QStringLiteral("step.txt"), StepFile()));
        ImportWithStep([](Tf_Sensor& dialog) { TypeRaster(dialog, QStringLiteral("7")); });
        QCOMPARE(f_main->State().f_Sensor.cb_RasterIndex, -1);
        QCOMPARE(f_main->State().GridStep, 7);
        QCOMPARE(GridValue(0), 7.0);   // 07:00 to 07:06
        QCOMPARE(GridValue(7), 4.0);   // 07:07 to 07:13
        QCOMPARE(GridValue(14), 0.0);  // 07:14 to 07:20, no reading
        QCOMPARE(GridValue(56), 6.0);  // 07:56 to 08:02
        QCOMPARE(GridValue(1), -1.0);
    }

    void stepItemDecidesTheFiveMinutePoints() {
        const QTemporaryDir dir;
        const Program program(WriteFile(dir, QStringLiteral("step.txt"), StepFile()));
        f_main->N5minRaster1->trigger();
        QCOMPARE(f_main->State().X_Raster, 3);
        ImportWithStep([](Tf_Sensor& dialog) { ChooseRaster(dialog, 1); });
        QCOMPARE(f_main->State().f_Sensor.cb_RasterIndex, 1);
        QCOMPARE(f_main->State().series.HighIndex, 287);

        ImportWithStep([](Tf_Sensor& dialog) { ChooseRaster(dialog, 0); });
        QCOMPARE(f_main->State().f_Sensor.cb_RasterIndex, 0);
        QCOMPARE(f_main->State().series.HighIndex, 863);

        // A typed "5" selects no item: 15-minute points of 5-minute windows.
        ImportWithStep([](Tf_Sensor& dialog) { TypeRaster(dialog, QStringLiteral("5")); });
        QCOMPARE(f_main->State().f_Sensor.cb_RasterIndex, -1);
        QCOMPARE(f_main->State().GridStep, 5);
        QCOMPARE(f_main->State().series.HighIndex, 287);

        // The step stays as last set when the dialog opens again.
        QString shown;
        ImportWithStep([&shown](Tf_Sensor& dialog) { shown = dialog.cb_Raster->currentText(); });
        QCOMPARE(shown, QStringLiteral("5"));
        QCOMPARE(f_main->State().f_Sensor.cb_RasterIndex, -1);
    }

    void dayListRowsAreThirteenPixelsHigh() {
        const QTemporaryDir dir;
        const Program program(WriteFile(dir, QStringLiteral("three.txt"), DaysFile(3)));
        QList<QRect> rows;
        WhenDayDialog([&rows](Tf_Sensor& dialog) {
            for (int i = 0; i < dialog.lb_Sensor->count(); ++i)
                rows << dialog.lb_Sensor->visualItemRect(dialog.lb_Sensor->item(i));
            dialog.Button2->click();
        });
        f_main->ImportSensordaten1->trigger();
        QCOMPARE(rows.size(), 3);
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(rows[i].height(), 13);
            QCOMPARE(rows[i].top(), rows[0].top() + 13 * i);
        }
    }

    void previewChartFillsTheWindow() {
        const QTemporaryDir dir;
        const Program program(WriteFile(dir, QStringLiteral("three.txt"), DaysFile(3)));
        Tf_Sensorgrafik& chart = *f_Sensorgrafik;
        WhenDayDialog([](Tf_Sensor& dialog) {
            dialog.Button3->click();
            dialog.Button2->click();
        });
        f_main->ImportSensordaten1->trigger();
        QVERIFY(chart.isVisible());
        QCOMPARE(chart.ChartView->geometry(), chart.rect());
        QCOMPARE(chart.Chart1->size(), QSizeF(chart.size()));
        const QImage shot = chart.grab().toImage();
        QCOMPARE(shot.size(), QSize(870, 500));
        shot.save(OutputDir() + QStringLiteral("/preview_chart.png"));
        const QRgb white = qRgb(255, 255, 255) & 0xFFFFFF;
        for (const QPoint corner : {QPoint(0, 0), QPoint(864, 0), QPoint(0, 494), QPoint(864, 494)})
            QCOMPARE(CountColour(shot, QRect(corner, QSize(6, 6)), white), 36);
        chart.close();
    }

    void previewOfAnEmptyList() {
        const QTemporaryDir dir;
        Program program(WriteFile(dir, QStringLiteral("three.txt"), DaysFile(3)));
        Tf_Sensorgrafik& chart = *f_Sensorgrafik;
        WhenDayDialog([](Tf_Sensor& dialog) {
            dialog.Button3->click();
            dialog.Button2->click();
        });
        f_main->ImportSensordaten1->trigger();
        QCOMPARE(VisibleLegendEntries(chart), 3);
        chart.resize(300, 200);

        // A file with the header line only empties the list.
        program.SetImportPath(WriteFile(dir, QStringLiteral("empty.txt"), {SensorHeader()}));
        int listed = -1;
        WhenDayDialog([&listed](Tf_Sensor& dialog) {
            listed = dialog.lb_Sensor->count();
            dialog.Button3->click();
            dialog.Button2->click();
        });
        f_main->ImportSensordaten1->trigger();
        QCOMPARE(listed, 0);
        QVERIFY(chart.isVisible());
        QCOMPARE(chart.size(), QSize(870, 500));
        for (const QLineSeries* series : chart.Series) {
            QVERIFY(!series->isVisible());
            QCOMPARE(series->count(), 0);
        }
        QCOMPARE(VisibleLegendEntries(chart), 0);
        chart.close();
    }

    void listedDayWithoutReadingsShowsTheSeriesName() {
        const QTemporaryDir dir;
        const Program program(WriteFile(dir, QStringLiteral("three.txt"), DaysFile(3)));
        Tf_Sensorgrafik& chart = *f_Sensorgrafik;
        WhenDayDialog([](Tf_Sensor& dialog) {
            // The readings of the second day are deleted, as the table window allows.
            SensorTab& readings = f_main->State().sensorTab;
            for (int i = 0; i < 4; ++i) readings.DeleteRow(4);
            dialog.Button3->click();
            dialog.Button2->click();
        });
        f_main->ImportSensordaten1->trigger();
        QLineSeries* second = chart.Series[1];
        QVERIFY(second->isVisible());
        QCOMPARE(second->count(), 0);
        QCOMPARE(second->name(), QStringLiteral("Series2"));
        const QList<QLegendMarker*> markers = chart.Chart1->legend()->markers(second);
        QCOMPARE(markers.size(), 1);
        QVERIFY(markers.front()->isVisible());
        QCOMPARE(markers.front()->label(), QStringLiteral("Series2"));
        QCOMPARE(chart.Series[0]->name(), QStringLiteral("01-jun-24"));
        QCOMPARE(chart.Series[2]->name(), QStringLiteral("03-jun-24"));
        QCOMPARE(VisibleLegendEntries(chart), 3);
        chart.close();
    }

    void duplicateStopsTheImportAndTheDialogListsTheDaysBefore() {
        const QTemporaryDir dir;
        std::vector<std::string> lines = DaysFile(2);
        lines.push_back(Reading(90, "02-Jun-24", "07:00", "8.0"));
        lines.push_back(Reading(91, "03-Jun-24", "06:00", "8.0"));
        const Program program(WriteFile(dir, QStringLiteral("dup.txt"), lines));
        QString message;
        QStringList listed;
        AnswerMessageBox(nullptr, &message);
        WhenDayDialog([&listed](Tf_Sensor& dialog) {
            for (int i = 0; i < dialog.lb_Sensor->count(); ++i) listed << dialog.lb_Sensor->item(i)->text();
            dialog.lb_Sensor->setCurrentRow(1);
            dialog.Button1->click();
        });
        f_main->ImportSensordaten1->trigger();
        QCOMPARE(message, QStringLiteral("Fehler beim Import der Sensordaten! 02-Jun-24  07:00"));
        QCOMPARE(listed, (QStringList{QStringLiteral("01-Jun-24"), QStringLiteral("02-Jun-24")}));
        QCOMPARE(f_main->State().sensorTab.TotalRows(), 8);
        QCOMPARE(f_main->l_Datum->text(), QStringLiteral("02-Jun-24"));
        QCOMPARE(f_main->ce_Mittelwert->text(), QStringLiteral("6.50"));
    }

    void tableWindowFollowsThePreviewFilter() {
        const QTemporaryDir dir;
        const Program program(WriteFile(dir, QStringLiteral("three.txt"), DaysFile(3)));
        f_main->abellen1->trigger();
        QVERIFY(f_Tabellen->isVisible());
        DatasetModel& readings = *f_Tabellen->ds_SensorTab;
        int rowsInDialog = -1;
        QStringList daysInDialog;
        WhenDayDialog([&](Tf_Sensor& dialog) {
            QCoreApplication::processEvents();
            rowsInDialog = readings.rowCount();
            dialog.Button3->click();
            QCoreApplication::processEvents();
            for (int r = 0; r < readings.rowCount(); ++r) daysInDialog << readings.CellText(r, 1);
            dialog.Button2->click();
        });
        f_main->ImportSensordaten1->trigger();
        QCoreApplication::processEvents();
        QCOMPARE(rowsInDialog, 12);
        // The preview leaves the readings filtered on the last previewed day.
        QCOMPARE(daysInDialog, QStringList(4, QStringLiteral("03-jun-24")));
        QCOMPARE(readings.rowCount(), 4);

        // The next import switches the filter off.
        WhenDayDialog([](Tf_Sensor& dialog) {
            dialog.lb_Sensor->setCurrentRow(0);
            dialog.Button1->click();
        });
        f_main->ImportSensordaten1->trigger();
        QCoreApplication::processEvents();
        QCOMPARE(readings.rowCount(), 12);
        f_Tabellen->close();
        f_Sensorgrafik->close();
    }
};

QTEST_MAIN(DayDialogTest)
#include "tst_daydialog.moc"
