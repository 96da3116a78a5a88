// The table window: layout, the two grids over SensorTab and WerteTab, editing,
// adding and deleting rows, the navigators, and following the program's changes.
#include <QApplication>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QToolButton>
#include <QtTest>
#include <memory>

#include "ui/dialogs/u_Tabellen.h"
#include "windowlogic/MainCore.h"

using namespace zelk;

namespace {

QString Day(int i) { return QStringLiteral("%1-jun-09").arg(10 + i); }

QString Clock(int minute) {
    return QStringLiteral("%1:%2").arg(minute / 60, 2, 10, QLatin1Char('0')).arg(minute % 60, 2, 10, QLatin1Char('0'));
}

}  // namespace

class TabellenTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<MainState> state_;
    std::unique_ptr<Tf_Tabellen> window_;
    QStringList errors_;
    QStringList questions_;
    bool confirm_ = true;

    // Three days of readings, four per day.
    void FillReadings() {
        for (int d = 0; d < 3; ++d)
            for (int k = 0; k < 4; ++k)
                state_->sensorTab.Append(d * 10 + k, Day(d).toStdString(), Clock(480 + 15 * k).toStdString(),
                                         5.0 + k + d / 10.0);
    }
    void Settle() { QCoreApplication::processEvents(); }

private slots:
    void init() {
        state_ = std::make_unique<MainState>();
        state_->werteTab.CreateWithDemo(kDemoValues);
        errors_.clear();
        questions_.clear();
        confirm_ = true;
        window_ = std::make_unique<Tf_Tabellen>(*state_, nullptr);
        window_->showError = [this](const std::exception& e) { errors_ << QString::fromLatin1(e.what()); };
        window_->confirmDelete = [this](const QString& question) {
            questions_ << question;
            return confirm_;
        };
    }
    void cleanup() {
        window_.reset();
        state_.reset();
    }

    void layoutOfTheWindowDescription() {
        Tf_Tabellen& w = *window_;
        QCOMPARE(w.windowTitle(), QStringLiteral("Tabellen"));
        QCOMPARE(w.pos(), QPoint(254, 206));
        QCOMPARE(w.size(), QSize(870, 510));
        QCOMPARE(w.Label1->text(), QStringLiteral("SensorTab"));
        QCOMPARE(w.Label1->pos(), QPoint(40, 6));
        QCOMPARE(w.Label1->font().pixelSize(), 13);
        QCOMPARE(w.Label2->text(), QStringLiteral("WerteTab"));
        QCOMPARE(w.Label2->pos(), QPoint(496, 6));
        QCOMPARE(w.dbg_SensorTab->geometry(), QRect(0, 24, 401, 409));
        QCOMPARE(w.dbg_WerteTab->geometry(), QRect(464, 24, 340, 409));
        QCOMPARE(w.DBNavigator1->geometry(), QRect(272, 440, 168, 25));
        QCOMPARE(w.DBNavigator2->geometry(), QRect(672, 439, 168, 25));

        const QStringList sensorTitles{"ID", "Datum", "Zeit", "BG_Wert"};
        const QList<int> sensorWidths{80, 100, 60, 120};
        QCOMPARE(w.ds_SensorTab->columnCount(), 4);
        for (int c = 0; c < 4; ++c) {
            QCOMPARE(w.ds_SensorTab->headerData(c, Qt::Horizontal).toString(), sensorTitles[c]);
            QCOMPARE(w.dbg_SensorTab->columnWidth(c), sensorWidths[c]);
        }
        const QStringList werteTitles{"Minute", "Glukose", "BG_Neu"};
        const QList<int> werteWidths{60, 120, 120};
        QCOMPARE(w.ds_WerteTab->columnCount(), 3);
        for (int c = 0; c < 3; ++c) {
            QCOMPARE(w.ds_WerteTab->headerData(c, Qt::Horizontal).toString(), werteTitles[c]);
            QCOMPARE(w.dbg_WerteTab->columnWidth(c), werteWidths[c]);
        }
        QCOMPARE(w.dbg_SensorTab->horizontalHeader()->font().pixelSize(), 11);
    }

    void showsBothDatasets() {
        FillReadings();
        Settle();
        DatasetModel& s = *window_->ds_SensorTab;
        QCOMPARE(s.rowCount(), 12);
        QCOMPARE(s.data(s.index(0, 0)).toString(), QStringLiteral("0"));
        QCOMPARE(s.data(s.index(0, 1)).toString(), QStringLiteral("10-jun-09"));
        QCOMPARE(s.data(s.index(0, 2)).toString(), QStringLiteral("08:00"));
        QCOMPARE(s.data(s.index(5, 3)).toString(), QStringLiteral("6.1"));
        DatasetModel& v = *window_->ds_WerteTab;
        QCOMPARE(v.rowCount(), kGridMinutes);
        QCOMPARE(v.data(v.index(60, 0)).toString(), QStringLiteral("60"));
        QCOMPARE(v.data(v.index(0, 1)).toString(), QStringLiteral("18.5"));
        // The demo values are singles widened to doubles; the grid shows 15 digits.
        QCOMPARE(v.data(v.index(60, 1)).toString(), QStringLiteral("15.1000003814697"));
        QCOMPARE(v.data(v.index(61, 1)).toString(), QStringLiteral("0"));
        QCOMPARE(v.data(v.index(60, 2)).toString(), QString());  // BG_Neu stays empty
        QCOMPARE(v.data(v.index(60, 1), Qt::TextAlignmentRole).toInt() & Qt::AlignRight, int(Qt::AlignRight));
    }

    void valuesUseTheLocaleSeparator() {
        state_->locale.decimalSeparator = ',';
        FillReadings();
        Settle();
        DatasetModel& s = *window_->ds_SensorTab;
        QCOMPARE(s.data(s.index(5, 3)).toString(), QStringLiteral("6,1"));
        QVERIFY(s.setData(s.index(5, 3), QStringLiteral("7,25")));
        QCOMPARE(std::get<double>(state_->sensorTab.Value(5, 3)), 7.25);
    }

    void editingCells() {
        FillReadings();
        Settle();
        DatasetModel& s = *window_->ds_SensorTab;
        QVERIFY(s.setData(s.index(1, 3), QStringLiteral("9.5")));
        QCOMPARE(std::get<double>(state_->sensorTab.Value(1, 3)), 9.5);
        QVERIFY(s.setData(s.index(1, 0), QStringLiteral("0x10")));
        QCOMPARE(std::get<int>(state_->sensorTab.Value(1, 0)), 16);
        QVERIFY(s.setData(s.index(1, 3), QString()));  // an empty cell is an empty field
        QVERIFY(std::holds_alternative<std::monostate>(state_->sensorTab.Value(1, 3)));
        Settle();
        QCOMPARE(s.data(s.index(1, 3)).toString(), QString());

        // A text that is no number is refused with a message; the old value stays.
        QVERIFY(!s.setData(s.index(1, 0), QStringLiteral("abc")));
        QCOMPARE(errors_.size(), 1);
        QVERIFY(errors_[0].contains(QStringLiteral("'abc'")));
        QCOMPARE(std::get<int>(state_->sensorTab.Value(1, 0)), 16);

        DatasetModel& v = *window_->ds_WerteTab;
        QVERIFY(v.setData(v.index(5, 2), QStringLiteral("3.5")));
        QCOMPARE(std::get<double>(state_->werteTab.Value(5, 2)), 3.5);
        QVERIFY(!v.setData(v.index(5, 1), QStringLiteral("x")));
        QCOMPARE(errors_.size(), 2);
    }

    void refusedKeyChangeShowsTheErrorAndKeepsTheOldValue() {
        FillReadings();
        Settle();
        DatasetModel& s = *window_->ds_SensorTab;
        QVERIFY(!s.setData(s.index(1, 2), QStringLiteral("08:00")));  // row 0 has this Datum;Zeit
        QCOMPARE(errors_.size(), 1);
        QCOMPARE(std::get<std::string>(state_->sensorTab.Value(1, 2)), std::string("08:15"));
        Settle();
        QCOMPARE(s.data(s.index(1, 2)).toString(), QStringLiteral("08:15"));

        // A key change that is allowed moves the row, and the current row follows it.
        QVERIFY(s.setData(s.index(0, 2), QStringLiteral("09:30")));
        Settle();
        QCOMPARE(s.data(s.index(3, 2)).toString(), QStringLiteral("09:30"));
        QCOMPARE(state_->sensorTab.CurrentRow(), 3);
        QCOMPARE(window_->dbg_SensorTab->currentIndex().row(), 3);
    }

    void editingThroughTheGridsEditor() {
        FillReadings();
        window_->ShowWindow();
        Settle();
        DataGrid& grid = *window_->dbg_SensorTab;
        grid.setFocus();
        grid.setCurrentIndex(window_->ds_SensorTab->index(2, 3));
        QTest::keyClick(&grid, Qt::Key_F2);
        auto* editor = grid.findChild<QLineEdit*>();
        QVERIFY(editor != nullptr);
        editor->selectAll();
        QTest::keyClicks(editor, QStringLiteral("12.5"));
        QTest::keyClick(editor, Qt::Key_Return);
        Settle();  // the editor commits from the event loop
        QCOMPARE(std::get<double>(state_->sensorTab.Value(2, 3)), 12.5);
        QVERIFY(errors_.isEmpty());
    }

    void insertAddsARow() {
        FillReadings();
        window_->ShowWindow();
        Settle();
        DataGrid& grid = *window_->dbg_SensorTab;
        grid.setFocus();
        QTest::keyClick(&grid, Qt::Key_Insert);
        Settle();
        QCOMPARE(state_->sensorTab.RowCount(), 13);
        // The new row has empty fields and sorts first; it becomes the current row.
        QCOMPARE(window_->ds_SensorTab->rowCount(), 13);
        QCOMPARE(window_->ds_SensorTab->data(window_->ds_SensorTab->index(0, 1)).toString(), QString());
        QCOMPARE(state_->sensorTab.CurrentRow(), 0);
        QCOMPARE(grid.currentIndex().row(), 0);
        // A second empty row would repeat the key: refused with a message.
        QTest::keyClick(&grid, Qt::Key_Insert);
        QCOMPARE(state_->sensorTab.RowCount(), 13);
        QCOMPARE(errors_.size(), 1);

        DataGrid& werte = *window_->dbg_WerteTab;
        werte.setFocus();
        QTest::keyClick(&werte, Qt::Key_Insert);
        Settle();
        QCOMPARE(state_->werteTab.RowCount(), kGridMinutes + 1);
        QCOMPARE(window_->ds_WerteTab->rowCount(), kGridMinutes + 1);
    }

    void ctrlDeleteDeletesTheCurrentRowAfterConfirmation() {
        FillReadings();
        window_->ShowWindow();
        Settle();
        DataGrid& grid = *window_->dbg_SensorTab;
        grid.setFocus();
        grid.setCurrentIndex(window_->ds_SensorTab->index(4, 1));
        QCOMPARE(state_->sensorTab.CurrentRow(), 4);

        confirm_ = false;
        QTest::keyClick(&grid, Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(questions_, QStringList{QStringLiteral("Datensatz l\u00f6schen?")});
        QCOMPARE(state_->sensorTab.RowCount(), 12);

        confirm_ = true;
        QTest::keyClick(&grid, Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(state_->sensorTab.RowCount(), 11);
        Settle();
        QCOMPARE(window_->ds_SensorTab->rowCount(), 11);
        QCOMPARE(window_->ds_SensorTab->data(window_->ds_SensorTab->index(4, 0)).toString(), QStringLiteral("11"));

        // Delete without Ctrl does not delete a row.
        QTest::keyClick(&grid, Qt::Key_Delete);
        QCOMPARE(state_->sensorTab.RowCount(), 11);
    }

    void navigatorsMoveTheCurrentRow() {
        FillReadings();
        window_->ShowWindow();
        Settle();
        DBNavigator& nav = *window_->DBNavigator1;
        DataGrid& grid = *window_->dbg_SensorTab;
        QCOMPARE(state_->sensorTab.CurrentRow(), 0);
        QVERIFY(!nav.First->isEnabled());
        QVERIFY(!nav.Prior->isEnabled());
        QVERIFY(nav.Next->isEnabled());

        nav.Last->click();
        Settle();
        QCOMPARE(state_->sensorTab.CurrentRow(), 11);
        QCOMPARE(grid.currentIndex().row(), 11);
        QVERIFY(!nav.Next->isEnabled());
        QVERIFY(!nav.Last->isEnabled());
        QCOMPARE(window_->ds_SensorTab->headerData(11, Qt::Vertical).toString(), QStringLiteral("\u25B6"));
        QCOMPARE(window_->ds_SensorTab->headerData(0, Qt::Vertical).toString(), QString());
        QDir().mkpath(QStringLiteral(ZELK_TEST_OUTPUT_DIR));
        window_->grab().save(QStringLiteral(ZELK_TEST_OUTPUT_DIR "/tabellen.png"));

        nav.Prior->click();
        Settle();
        QCOMPARE(state_->sensorTab.CurrentRow(), 10);
        QCOMPARE(grid.currentIndex().row(), 10);
        nav.First->click();
        Settle();
        QCOMPARE(grid.currentIndex().row(), 0);
        nav.Next->click();
        Settle();
        QCOMPARE(state_->sensorTab.CurrentRow(), 1);

        // The other navigator moves the other dataset only.
        window_->DBNavigator2->Last->click();
        Settle();
        QCOMPARE(state_->werteTab.CurrentRow(), kGridMinutes - 1);
        QCOMPARE(window_->dbg_WerteTab->currentIndex().row(), kGridMinutes - 1);
        QCOMPARE(state_->sensorTab.CurrentRow(), 1);

        // Clicking a cell makes its row the current one.
        grid.setCurrentIndex(window_->ds_SensorTab->index(7, 2));
        QCOMPARE(state_->sensorTab.CurrentRow(), 7);
    }

    void followsTheFilterOfThePreview() {
        FillReadings();
        window_->ShowWindow();
        Settle();
        state_->sensorTab.SetFilterDay("11-jun-09");
        state_->sensorTab.SetFiltered(true);
        Settle();
        DatasetModel& s = *window_->ds_SensorTab;
        QCOMPARE(s.rowCount(), 4);
        for (int r = 0; r < 4; ++r) QCOMPARE(s.data(s.index(r, 1)).toString(), QStringLiteral("11-jun-09"));
        state_->sensorTab.RemoveFilter();
        Settle();
        QCOMPARE(s.rowCount(), 12);
    }

    void followsTheGridBuild() {
        window_->ShowWindow();
        Settle();
        state_->werteTab.BeginBulk();
        state_->werteTab.ClearGlukose();
        state_->werteTab.SetGlukose(100, 7.5);
        state_->werteTab.EndBulk();
        Settle();
        DatasetModel& v = *window_->ds_WerteTab;
        QCOMPARE(v.data(v.index(100, 1)).toString(), QStringLiteral("7.5"));
        QCOMPARE(v.data(v.index(60, 1)).toString(), QString());
        state_->werteTab.SetGlukose(101, 2.25);
        Settle();
        QCOMPARE(v.data(v.index(101, 1)).toString(), QStringLiteral("2.25"));
    }

    void burstsOfChangesBecomeOneReset() {
        window_->ShowWindow();
        Settle();
        QSignalSpy resets(window_->ds_SensorTab, &QAbstractItemModel::modelReset);
        for (int i = 0; i < 500; ++i) state_->sensorTab.Append(i, "01-jan-10", Clock(i).toStdString(), 5.0);
        QCOMPARE(resets.count(), 0);
        QCOMPARE(window_->ds_SensorTab->rowCount(), 0);  // the views hear of it in one go
        Settle();
        QCOMPARE(resets.count(), 1);
        QCOMPARE(window_->ds_SensorTab->rowCount(), 500);
        state_->sensorTab.DeleteAll();
        Settle();
        QCOMPARE(resets.count(), 2);
        QCOMPARE(window_->ds_SensorTab->rowCount(), 0);
    }

    void followsALargeImport() {
        window_->ShowWindow();
        Settle();
        constexpr int kReadings = 100000;
        QElapsedTimer clock;
        clock.start();
        for (int i = 0; i < kReadings; ++i) {
            const int day = i / 1440;
            state_->sensorTab.Append(i, QStringLiteral("%1-jan-10").arg(1 + day, 2, 10, QLatin1Char('0')).toStdString(),
                                     Clock(i % 1440).toStdString(), 5.0 + (i % 7));
            if (i % 2000 == 0) Settle();  // the reader lets the window run now and then
        }
        Settle();
        qInfo("100000 readings appended with the table window open: %lld ms", clock.elapsed());
        QCOMPARE(window_->ds_SensorTab->rowCount(), kReadings);
        QCOMPARE(window_->ds_SensorTab->data(window_->ds_SensorTab->index(kReadings - 1, 0)).toString(),
                 QString::number(kReadings - 1));
    }

    void secondShowKeepsOneWindowInFront() {
        window_->ShowWindow();
        window_->ShowWindow();
        QVERIFY(window_->isVisible());
        int windows = 0;
        for (QWidget* top : QApplication::topLevelWidgets())
            if (qobject_cast<Tf_Tabellen*>(top) != nullptr && top->isVisible()) ++windows;
        QCOMPARE(windows, 1);
    }
};

QTEST_MAIN(TabellenTest)
#include "tst_tabellen.moc"
