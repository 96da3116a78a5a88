// Start-up of the program: the windows, the state before the first import, the
// minute grid with the demo curve, the menu tree, the cursor and the language switch.
#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QtTest>

#include "support/TestSupport.h"
#include "ui/CStringGrid.h"
#include "ui/ConvEdit.h"
#include "ui/Messages.h"
#include "ui/PlotLayers.h"
#include "ui/SystemLocale.h"
#include "ui/dialogs/About.h"
#include "ui/dialogs/u_Sensor.h"
#include "ui/dialogs/u_Sensorgrafik.h"
#include "ui/dialogs/u_Tabellen.h"
#include "ui/dialogs/u_prefs.h"
#include "ui/u_main.h"

using namespace zelk;
using namespace zelk::test;

class StartupTest : public QObject {
    Q_OBJECT
private slots:
    void allWindowsExistAndOnlyTheMainWindowShows();
    void firstStartWithoutSettings();
    void werteTabHoldsTheDemoCurve();
    void menuTreeAsDeclared();
    void layoutOfTheFifteenMinuteGrid();
    void cursorShape();
    void englishSwitchesCaptionTitleAndHeader();
    void chosenLanguageAgainChangesNothing();
    void codesOtherThanEnGiveGermanTexts();
    void dayDialogMessageFollowsLanguage();
    void windowsAreGoneAfterTheRun();
    void quitClosesTheMainWindow();
    void localeFromEnvironment();
};

void StartupTest::allWindowsExistAndOnlyTheMainWindowShows() {
    const Program program;
    QVERIFY(f_main && f_Sensor && f_Sensorgrafik && AboutBox && f_prefs && f_Tabellen);
    QVERIFY(f_main->isVisible());
    QVERIFY(!f_Sensor->isVisible());
    QVERIFY(!f_Sensorgrafik->isVisible());
    QVERIFY(!AboutBox->isVisible());
    QVERIFY(!f_prefs->isVisible());
    QVERIFY(!f_Tabellen->isVisible());
    // Created after the main window, the dialogs belong to it.
    QCOMPARE(f_Sensor->parent(), f_main);
    QCOMPARE(AboutBox->parent(), f_main);
    QCOMPARE(f_prefs->parent(), f_main);
}

void StartupTest::firstStartWithoutSettings() {
    const Program program;
    const MainState& s = f_main->State();
    QCOMPARE(f_main->geometry().topLeft(), QPoint(246, 114));
    QVERIFY(f_main->N15minRaster1->isChecked());
    QVERIFY(!f_main->N5minRaster1->isChecked());
    QCOMPARE(s.X_Raster, 4);
    QCOMPARE(s.GridStep, 5);
    QCOMPARE(s.StartHour, 19);
    QCOMPARE(s.Sprache, std::string("de"));
    QVERIFY(f_main->cb_Startwert->isChecked());
    QVERIFY(f_main->cb_Endwert->isChecked());
    QCOMPARE(s.rg_Import, 0);
    QCOMPARE(s.rg_Anzeige, 0);
    QCOMPARE(f_main->windowTitle(), QStringLiteral("Berechnung ZELK"));
    QCOMPARE(ApplicationTitle(), QStringLiteral("Berechnung ZELK"));
    QCOMPARE(f_main->Button1->text(), QStringLiteral("Berechne"));
    QCOMPARE(f_main->Label1->text(), QStringLiteral("Mittelwert"));
    QCOMPARE(f_main->Label4->text(), QStringLiteral("mmol/l"));
    // The demo curve: 48 hourly values, mean and population deviation shown.
    QCOMPARE(f_main->ce_Mittelwert->text(), QStringLiteral("13.50"));
    QCOMPARE(f_main->ce_StdAbw->text(), QStringLiteral("4.18"));
    QVERIFY(CountColour(f_main->img_ZwEbene->Picture(), QRect(80, 0, 800, 241), qRgb(0, 0, 255)) > 100);
    QCOMPARE(s.YScale, 8.0f);
    QCOMPARE(s.TargetLowY, 209);
    QCOMPARE(s.TargetHighY, 169);
    // Empty before any import.
    QVERIFY(f_main->l_Datum->text().isEmpty());
    QVERIFY(f_main->ce_PID->text().isEmpty());
    QVERIFY(f_main->ce_ZELK->text().isEmpty());
    QVERIFY(!s.PeakFirst);
    QCOMPARE(f_main->csg_Berechnung->RowCount(), 5);
    for (int row = 1; row < 5; ++row)
        for (int col = 0; col < 6; ++col) QVERIFY(f_main->csg_Berechnung->Cells(col, row).isEmpty());
    const QStringList header = {QStringLiteral("Tag"),      QStringLiteral("Zeit"),
                                QStringLiteral("BG Peak"),  QStringLiteral("Zeit"),
                                QStringLiteral("BG Nadir"), QString::fromUtf8("\u0394G > 1 SD")};
    for (int col = 0; col < 6; ++col) QCOMPARE(f_main->csg_Berechnung->Cells(col, 0), header[col]);
    // The readout label waits above the plot.
    QCOMPARE(f_main->l_Coursor->y(), -15);
}

void StartupTest::werteTabHoldsTheDemoCurve() {
    const Program program;
    const WerteTab& grid = f_main->State().werteTab;
    QCOMPARE(grid.RowCount(), 4320);
    int demoRows = 0;
    for (int row = 0; row < grid.RowCount(); ++row) {
        QCOMPARE(grid.Minute(row), row);
        const double value = grid.Glukose(row);
        if (row % 60 == 0 && row < 2880) {
            QCOMPARE(value, static_cast<double>(kDemoValues[static_cast<size_t>(row / 60)]));
            ++demoRows;
        } else {
            QCOMPARE(value, 0.0);
        }
    }
    QCOMPARE(demoRows, 48);
    QCOMPARE(f_main->State().sensorTab.TotalRows(), 0);
}

void StartupTest::menuTreeAsDeclared() {
    const Program program;
    const Tf_main& w = *f_main;
    QCOMPARE(w.Datei1->title(), QStringLiteral("Datei"));
    const QList<QAction*> file = w.Datei1->actions();
    QCOMPARE(file.size(), 6);
    QCOMPARE(file[0], w.ImportSensordaten1);
    QCOMPARE(file[1], w.AutomBerechnung1);
    QVERIFY(file[2]->isSeparator());
    QCOMPARE(file[3], w.Voreinstellung1);
    QVERIFY(file[4]->isSeparator());
    QCOMPARE(file[5], w.Beenden1);
    QCOMPARE(w.ImportSensordaten1->text(), QStringLiteral("Import Sensordaten"));
    QVERIFY(!w.AutomBerechnung1->isVisible());
    QCOMPARE(w.AutomBerechnung1->text(), QStringLiteral("Autom. Berechnung"));
    QCOMPARE(w.Voreinstellung1->text(), QStringLiteral("Voreinstellung"));
    QCOMPARE(w.Beenden1->text(), QStringLiteral("Beenden"));

    QCOMPARE(w.Ansicht1->title(), QStringLiteral("Ansicht"));
    const QList<QAction*> view = w.Ansicht1->actions();
    QCOMPARE(view.size(), 7);
    QCOMPARE(view[0], w.N5minRaster1);
    QCOMPARE(view[1], w.N15minRaster1);
    QVERIFY(view[2]->isSeparator() && view[2]->isVisible());
    QCOMPARE(view[3], w.Breitbild1);
    QCOMPARE(view[4], w.abellen1);
    QVERIFY(view[5]->isSeparator() && !view[5]->isVisible());
    QCOMPARE(view[6], w.N3->menuAction());
    QVERIFY(!w.Breitbild1->isVisible());
    QVERIFY(!w.Breitbild1->isEnabled());
    QCOMPARE(w.abellen1->text(), QStringLiteral("Tabellen"));
    QCOMPARE(w.N3->title(), QStringLiteral("Sprache"));
    QCOMPARE(w.de1->text(), QStringLiteral("Deutsch"));
    QCOMPARE(w.en1->text(), QStringLiteral("Englisch"));
    QVERIFY(w.de1->isChecked());
    QVERIFY(!w.en1->isChecked());

    QCOMPARE(w.Help->title(), QStringLiteral("Hilfe"));
    QCOMPARE(w.Help->actions(), (QList<QAction*>{w.Hilfe1, w.Info1}));
    QCOMPARE(w.Hilfe1->text(), QStringLiteral("Hilfe"));
    QCOMPARE(w.Info1->text(), QStringLiteral("Info"));
    QVERIFY(w.ImportSensordaten1->shortcut().isEmpty());
}

void StartupTest::layoutOfTheFifteenMinuteGrid() {
    const Program program;
    const Tf_main& w = *f_main;
    QCOMPARE(w.PlotWidth, 1235);
    QCOMPARE(w.PlotHeight, 265);
    QCOMPARE(w.width(), 1265);
    QCOMPARE(w.p_Bilder->geometry(), QRect(2, 35, 1235, 265));
    QCOMPARE(w.img_Form->geometry(), QRect(0, 0, 1235, 265));
    QCOMPARE(w.img_ZwEbene->geometry(), QRect(0, 0, 1235, 265));
    QCOMPARE(w.img_Layout->geometry(), QRect(0, 0, 1235, 265));
    QCOMPARE(w.img_Form->Picture().size(), QSize(1280, 800));
    QCOMPARE(w.p_mittelwert->geometry(), QRect(2, 303, 1235, 41));
    QCOMPARE(w.csg_Berechnung->geometry().topLeft(), QPoint(2, 347));
    QCOMPARE(w.csg_Berechnung->width(), 1235);
    // Down to the status bar, which is 19 pixels high at the bottom of the client area.
    QCOMPARE(w.ClientHeight(), 496 + 80 + 19);
    QCOMPARE(w.csg_Berechnung->height(), w.ClientHeight() - 347 - 19);
    QCOMPARE(w.StatusBar->height(), 19);
    QCOMPARE(w.csg_Berechnung->DefaultColWidth(), 201);
    // Controls above the plot keep their places.
    QCOMPARE(w.Button1->geometry(), QRect(476, 4, 75, 25));
    QCOMPARE(w.cb_Startwert->geometry(), QRect(596, 0, 161, 17));
    QCOMPARE(w.cb_Endwert->geometry(), QRect(596, 16, 161, 17));
    QCOMPARE(w.p_PID->geometry(), QRect(5, 5, 190, 24));
    QCOMPARE(w.ce_PID->geometry(), QRect(40, 1, 148, 21));
    QCOMPARE(w.ce_Mittelwert->geometry(), QRect(104, 8, 70, 21));
    QCOMPARE(w.ce_StdAbw->geometry(), QRect(336, 8, 70, 21));
    QCOMPARE(w.ce_ZELK->geometry(), QRect(520, 8, 70, 21));
    QCOMPARE(w.l_Datum->pos(), QPoint(212, 12));
    QCOMPARE(w.ce_ZELK->Digits(), 1);
    QCOMPARE(w.ce_Mittelwert->Alignment(), Alignment::RightJustify);
    QCOMPARE(w.ce_PID->Alignment(), Alignment::Center);
}

void StartupTest::cursorShape() {
    const QImage cursor = NewCursorImage();
    QCOMPARE(cursor.size(), QSize(32, 32));
    const auto colourAt = [&](int x, int y) -> char {
        const QRgb p = cursor.pixel(x, y);
        if (qAlpha(p) == 0) return 't';
        return qRed(p) == 0 ? 'b' : 'w';
    };
    QCOMPARE(colourAt(15, 15), 'w');  // the dot at the hot spot
    for (const auto& [dx, dy] : {std::pair{1, 0}, {2, 0}, {-1, 0}, {-2, 0}, {0, 1}, {0, 2}, {0, -1}, {0, -2}})
        QCOMPARE(colourAt(15 + dx, 15 + dy), 't');  // the two-pixel gap
    QCOMPARE(colourAt(18, 15), 'b');                // end of the arm
    QCOMPARE(colourAt(20, 15), 'w');                // white bar
    QCOMPARE(colourAt(20, 14), 'b');                // edged in black
    QCOMPARE(colourAt(20, 16), 'b');
    QCOMPARE(colourAt(15, 20), 'w');
    QCOMPARE(colourAt(14, 20), 'b');
    QCOMPARE(colourAt(31, 15), 'b');  // black line on to the border
    QCOMPARE(colourAt(0, 15), 'b');
    QCOMPARE(colourAt(15, 0), 'b');
    QCOMPARE(colourAt(15, 31), 'b');
    QCOMPARE(colourAt(31, 14), 't');
    QCOMPARE(colourAt(0, 0), 't');
    QCOMPARE(colourAt(10, 10), 't');

    const Program program;
    QCOMPARE(f_main->img_Layout->cursor().shape(), Qt::BitmapCursor);
    QCOMPARE(f_main->img_Layout->cursor().hotSpot(), QPoint(15, 15));
}

void StartupTest::englishSwitchesCaptionTitleAndHeader() {
    const Program program;
    Tf_main& w = *f_main;
    w.en1->trigger();
    QVERIFY(w.en1->isChecked());
    QVERIFY(!w.de1->isChecked());
    QCOMPARE(w.State().Sprache, std::string("en"));
    QCOMPARE(w.windowTitle(), QStringLiteral("Calculation of ZELK"));
    QCOMPARE(ApplicationTitle(), QStringLiteral("Calculation of ZELK"));
    QCOMPARE(w.Button1->text(), QStringLiteral("Calculate"));
    QCOMPARE(w.Datei1->title(), QStringLiteral("File"));
    QCOMPARE(w.Info1->text(), QStringLiteral("About"));
    QCOMPARE(w.abellen1->text(), QStringLiteral("Tabellen"));
    QCOMPARE(w.cb_Endwert->text(), QStringLiteral("Include full scale"));
    QCOMPARE(f_Sensor->windowTitle(), QStringLiteral("Sensor data"));
    QCOMPARE(f_Sensor->Button1->text(), QStringLiteral("along"));
    QCOMPARE(f_Sensor->Label14->text(), QStringLiteral("Raster"));
    QCOMPARE(f_Sensorgrafik->windowTitle(), QStringLiteral("G - Values"));
    // Before any calculation the nadir header goes to column 2; column 5 keeps its text.
    QCOMPARE(w.csg_Berechnung->Cells(0, 0), QStringLiteral("Day"));
    QCOMPARE(w.csg_Berechnung->Cells(2, 0), QStringLiteral("G nadir"));
    QCOMPARE(w.csg_Berechnung->Cells(4, 0), QStringLiteral("G peak"));
    QCOMPARE(w.csg_Berechnung->Cells(5, 0), QString::fromUtf8("\u0394G > 1 SD"));
    // Texts already shown keep their separator and unit until written again.
    QCOMPARE(w.Label4->text(), QStringLiteral("mmol/l"));
    // The right-aligned label keeps its right edge.
    const int right = w.Label1->x() + w.Label1->width();
    QCOMPARE(w.Label1->text(), QStringLiteral("Mean Glucose"));
    w.de1->trigger();
    QCOMPARE(w.Label1->x() + w.Label1->width(), right);
    QCOMPARE(w.windowTitle(), QStringLiteral("Berechnung ZELK"));
    QCOMPARE(ApplicationTitle(), QStringLiteral("Berechnung ZELK"));
    QCOMPARE(f_Sensorgrafik->windowTitle(), QStringLiteral("BG - Werte"));
    QCOMPARE(w.csg_Berechnung->Cells(2, 0), QStringLiteral("BG Nadir"));
}

void StartupTest::chosenLanguageAgainChangesNothing() {
    const Program program;
    Tf_main& w = *f_main;
    // A mark on the background would go with a repaint.
    w.img_Form->Picture().setPixel(3, 3, qRgb(255, 0, 0));
    w.de1->trigger();
    QVERIFY(w.de1->isChecked());
    QVERIFY(!w.en1->isChecked());
    QCOMPARE(Rgb(w.img_Form->Picture(), 3, 3), qRgb(255, 0, 0) & 0xFFFFFF);
    QCOMPARE(w.csg_Berechnung->Cells(2, 0), QStringLiteral("BG Peak"));
    w.en1->trigger();
    QCOMPARE(Rgb(w.img_Form->Picture(), 3, 3), 0xFFFFFFu);
    w.img_Form->Picture().setPixel(3, 3, qRgb(255, 0, 0));
    w.en1->trigger();
    QVERIFY(w.en1->isChecked());
    QCOMPARE(Rgb(w.img_Form->Picture(), 3, 3), qRgb(255, 0, 0) & 0xFFFFFF);
}

void StartupTest::codesOtherThanEnGiveGermanTexts() {
    const Program program;
    Tf_main& w = *f_main;
    for (const std::string code : {"EN", "", "fr"}) {
        w.SetLanguage("en");
        w.SetLanguage(code);
        QCOMPARE(w.State().Sprache, code);
        QCOMPARE(w.windowTitle(), QStringLiteral("Berechnung ZELK"));
        QCOMPARE(w.Button1->text(), QStringLiteral("Berechne"));
        QCOMPARE(f_Sensor->Button2->text(), QStringLiteral("Abbruch"));
        QCOMPARE(w.csg_Berechnung->Cells(0, 0), QStringLiteral("Tag"));
    }
}

void StartupTest::dayDialogMessageFollowsLanguage() {
    const Program program;
    Tf_main& w = *f_main;
    f_Sensor->FormShow();
    QCOMPARE(w.State().f_Sensor.NoDateMessage, std::string("Zuerst ein Datum ausw\xE4hlen"));
    for (const std::string code : {"en", "fr", "DE"}) {
        w.SetLanguage(code);
        f_Sensor->FormShow();
        QCOMPARE(w.State().f_Sensor.NoDateMessage, std::string("First, select a date"));
    }
    QVERIFY(f_Sensor->rg_Art->isHidden());
    QVERIFY(f_Sensor->l_charTag->isHidden());
}

void StartupTest::windowsAreGoneAfterTheRun() {
    { const Program program; }
    QVERIFY(!f_main && !f_Sensor && !f_Sensorgrafik && !AboutBox && !f_prefs && !f_Tabellen);
}

void StartupTest::quitClosesTheMainWindow() {
    const Program program;
    QSignalSpy closed(f_main, &Tf_main::Closed);
    f_main->Beenden1->trigger();
    QCOMPARE(closed.count(), 1);
    QVERIFY(!f_main->isVisible());
}

void StartupTest::localeFromEnvironment() {
    const QByteArray saved[] = {qgetenv("LC_ALL"), qgetenv("LC_NUMERIC"), qgetenv("LC_TIME"), qgetenv("LANG")};
    const auto set = [](const char* all, const char* numeric, const char* time, const char* lang) {
        qputenv("LC_ALL", all);
        qputenv("LC_NUMERIC", numeric);
        qputenv("LC_TIME", time);
        qputenv("LANG", lang);
    };
    set("", "de_DE.UTF-8", "en_GB.UTF-8", "C");
    LocaleInfo info = LocaleFromEnvironment();
    QCOMPARE(info.decimalSeparator, ',');
    QCOMPARE(info.localeId, kLocaleUkEnglish);
    set("de_DE.UTF-8", "en_US.UTF-8", "en_US.UTF-8", "");
    info = LocaleFromEnvironment();
    QCOMPARE(info.decimalSeparator, ',');
    QCOMPARE(info.localeId, kLocaleGerman);
    QCOMPARE(info.shortMonths[2], std::string("Mrz"));
    set("", "", "", "pt_BR.UTF-8");
    info = LocaleFromEnvironment();
    QCOMPARE(info.decimalSeparator, ',');
    QCOMPARE(info.localeId, kLocaleCustom);
    set("", "", "", "");
    info = LocaleFromEnvironment();
    QCOMPARE(info.decimalSeparator, '.');
    QCOMPARE(info.localeId, kLocaleUsEnglish);
    set(saved[0], saved[1], saved[2], saved[3]);
}

QTEST_MAIN(StartupTest)
#include "tst_startup.moc"
