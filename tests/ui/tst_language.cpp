// The two text tables as the windows show them, switched de -> en -> de through the menu;
// the texts that keep their German design wording; the header order after a calculation;
// and typed text in a numeric edit across refreshes and language switches.
#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QtTest>

#include "data/CodePages.h"
#include "support/TestSupport.h"
#include "ui/CStringGrid.h"
#include "ui/ConvEdit.h"
#include "ui/Messages.h"
#include "ui/dialogs/About.h"
#include "ui/dialogs/u_Sensor.h"
#include "ui/dialogs/u_Sensorgrafik.h"
#include "ui/dialogs/u_Tabellen.h"
#include "ui/dialogs/u_prefs.h"
#include "ui/u_main.h"

using namespace zelk;
using namespace zelk::test;

namespace {

// One target of the text tables: what shows it now, and its German and English text.
struct Target {
    const char* name;
    std::function<QString()> shown;
    QString german;
    QString english;
};

QString Ansi(const std::string& text) { return QString::fromStdString(AnsiToUtf8(text)); }

QString HeaderCell(int col) { return f_main->csg_Berechnung->Cells(col, 0); }

// All 44 targets, in the order of the tables. Before any calculation the nadir header
// stands in column 2 and the peak header in column 4.
QList<Target> TextTargets() {
    Tf_main& w = *f_main;
    const MainState& s = w.State();
    const QString delta = QString::fromUtf8("\u0394G > 1 SD");
    return {
        {"1 f_main", [&w] { return w.windowTitle(); }, "Berechnung ZELK", "Calculation of ZELK"},
        {"2 Datei1", [&w] { return w.Datei1->title(); }, "Datei", "File"},
        {"3 Ansicht1", [&w] { return w.Ansicht1->title(); }, "Ansicht", "View"},
        {"4 Info1", [&w] { return w.Info1->text(); }, "Info", "About"},
        {"5 ImportSensordaten1", [&w] { return w.ImportSensordaten1->text(); }, "Import Sensordaten",
         "Import sensor data"},
        {"6 Beenden1", [&w] { return w.Beenden1->text(); }, "Beenden", "Quit"},
        {"7 N3", [&w] { return w.N3->title(); }, "Sprache", "Language"},
        {"8 de1", [&w] { return w.de1->text(); }, "Deutsch", "German"},
        {"9 en1", [&w] { return w.en1->text(); }, "Englisch", "English"},
        {"10 N5minRaster1", [&w] { return w.N5minRaster1->text(); }, "5 min Raster", "5 min grid"},
        {"11 N15minRaster1", [&w] { return w.N15minRaster1->text(); }, "15 min Raster", "15 min grid"},
        {"12 Breitbild1", [&w] { return w.Breitbild1->text(); }, "Breitbild", "Widescreen"},
        {"13 Button1", [&w] { return w.Button1->text(); }, "Berechne", "Calculate"},
        {"14 Label1", [&w] { return w.Label1->text(); }, "Mittelwert", "Mean Glucose"},
        {"15 Label2", [&w] { return w.Label2->text(); }, "Standardabweichung", "Standard deviation"},
        {"16 Label3", [&w] { return w.Label3->text(); }, "ZELK", "ZELK"},
        {"17 DayHeader", [&s] { return Ansi(s.texts.DayHeader) + "|" + HeaderCell(0); }, "Tag|Tag", "Day|Day"},
        {"18 TimeHeader", [&s] { return Ansi(s.texts.TimeHeader) + "|" + HeaderCell(1) + "|" + HeaderCell(3); },
         "Zeit|Zeit|Zeit", "Time|Time|Time"},
        {"19 PeakHeader", [&s] { return Ansi(s.texts.PeakHeader) + "|" + HeaderCell(4); }, "BG Peak|BG Peak",
         "G peak|G peak"},
        {"20 NadirHeader", [&s] { return Ansi(s.texts.NadirHeader) + "|" + HeaderCell(2); }, "BG Nadir|BG Nadir",
         "G nadir|G nadir"},
        {"21 AmplitudeHeader",
         [&s] { return QString::fromStdString(GreekToUtf8(s.texts.AmplitudeHeader)) + "|" + HeaderCell(5); },
         delta + "|" + delta, delta + "|" + delta},
        {"22 WrongFileText", [&s] { return Ansi(s.texts.WrongFileText); }, "Falsche Sensordatei!",
         "Wrong sensor file!"},
        {"23 ImportErrorText", [&s] { return Ansi(s.texts.ImportErrorText); }, "Fehler beim Import der Sensordaten! ",
         "Error when importing the sensor data! "},
        {"24 cb_Startwert", [&w] { return w.cb_Startwert->text(); }, "Startwert einbeziehen", "Include start value"},
        {"25 cb_Endwert", [&w] { return w.cb_Endwert->text(); }, "Endwert einbeziehen", "Include full scale"},
        {"26 f_Sensor", [] { return f_Sensor->windowTitle(); }, "Sensordaten", "Sensor data"},
        {"27 f_Sensor.Label1", [] { return f_Sensor->Label1->text(); }, "Datum", "Date"},
        {"28 f_Sensor.Button3", [] { return f_Sensor->Button3->text(); }, "Kurven", "Curves"},
        {"29 f_Sensor.Button2", [] { return f_Sensor->Button2->text(); }, "Abbruch", "abort"},
        {"30 f_Sensor.Button1", [] { return f_Sensor->Button1->text(); }, "weiter", "along"},
        {"31 f_Sensor.l_charTag", [] { return f_Sensor->l_charTag->text(); },
         "Bitte Datei mit einem charakt. Tag verwenden!", "Please file with a typical days use!"},
        {"32 NoDateMessage", [&s] { return Ansi(s.f_Sensor.NoDateMessage); },
         QString::fromUtf8("Zuerst ein Datum ausw\u00e4hlen"), "First, select a date"},
        {"33 f_Sensorgrafik", [] { return f_Sensorgrafik->windowTitle(); }, "BG - Werte", "G - Values"},
        {"34 AutomBerechnung1", [&w] { return w.AutomBerechnung1->text(); }, "Autom. Berechnung", "Auto calculation"},
        {"35 Hilfe1", [&w] { return w.Hilfe1->text(); }, "Hilfe", "Help"},
        {"36 Help", [&w] { return w.Help->title(); }, "Hilfe", "Help"},
        {"37 Voreinstellung1", [&w] { return w.Voreinstellung1->text(); }, "Voreinstellung", "Preferences"},
        {"38 f_prefs", [] { return f_prefs->windowTitle(); }, "Voreinstellungen", "Preferences"},
        {"39 f_prefs.rg_Import", [] { return f_prefs->rg_Import->title(); }, "Importdaten", "Import data"},
        {"40 f_prefs.rg_Anzeige", [] { return f_prefs->rg_Anzeige->title(); }, "Anzeige", "View"},
        {"41 f_prefs.Button1", [] { return f_prefs->Button1->text(); }, QString::fromUtf8("\u00fcbernehmen"), "Ok"},
        {"42 f_prefs.Button2", [] { return f_prefs->Button2->text(); }, "Abbruch", "Cancel"},
        {"43 MmolUnitText", [&s] { return Ansi(s.texts.MmolUnitText); }, "mmol/l", "mmol/L"},
        {"44 MgUnitText", [&s] { return Ansi(s.texts.MgUnitText); }, "mg/dl", "mg/dL"},
    };
}

// The texts that keep their design wording in both languages.
QStringList DesignWording() {
    return {f_main->abellen1->text(),   f_main->Label60->text(),   f_Sensor->Label14->text(),
            f_Sensor->rg_Art->title(),  f_Tabellen->windowTitle(), f_Tabellen->Label1->text(),
            f_Tabellen->Label2->text(), AboutBox->windowTitle()};
}

void CompareAll(const QList<Target>& targets, bool english) {
    for (const Target& target : targets)
        QVERIFY2(target.shown() == (english ? target.english : target.german),
                 qPrintable(QStringLiteral("%1: \"%2\"").arg(QLatin1String(target.name), target.shown())));
}

}  // namespace

class LanguageTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() {
        CancelModalAnswers();
        QCOMPARE(ModalTimeouts(), 0);
    }

    void fullTextTableBothWays() {
        const Program program;
        const QList<Target> targets = TextTargets();
        QCOMPARE(targets.size(), 44);
        const QStringList design = DesignWording();
        QCOMPARE(design.mid(0, 7), (QStringList{"Tabellen", "PID", "Raster", QString::fromUtf8("Daten f\u00fcr"),
                                                "Tabellen", "SensorTab", "WerteTab"}));

        // Start-up writes the peak header into column 2; the first switch places it by
        // PeakFirst, which is still false.
        QCOMPARE(HeaderCell(2), QStringLiteral("BG Peak"));
        f_main->en1->trigger();
        CompareAll(targets, true);
        QCOMPARE(ApplicationTitle(), QStringLiteral("Calculation of ZELK"));
        QCOMPARE(DesignWording(), design);
        f_main->de1->trigger();
        CompareAll(targets, false);
        QCOMPARE(ApplicationTitle(), QStringLiteral("Berechnung ZELK"));
        QCOMPARE(DesignWording(), design);
        // The batch item takes its caption but stays hidden.
        QVERIFY(!f_main->AutomBerechnung1->isVisible());
        f_main->en1->trigger();
        QCOMPARE(f_main->AutomBerechnung1->text(), QStringLiteral("Auto calculation"));
        QVERIFY(!f_main->AutomBerechnung1->isVisible());
    }

    void peakHeaderStaysFirstAfterACalculation() {
        const Program program;
        Tf_main& w = *f_main;
        // The demo curve falls from its start: its first counted excursion is a fall.
        w.Button1->click();
        QVERIFY(w.State().PeakFirst);
        QCOMPARE(HeaderCell(2), QStringLiteral("BG Peak"));
        QCOMPARE(HeaderCell(4), QStringLiteral("BG Nadir"));
        w.en1->trigger();
        QCOMPARE(HeaderCell(2), QStringLiteral("G peak"));
        QCOMPARE(HeaderCell(4), QStringLiteral("G nadir"));
        w.de1->trigger();
        QCOMPARE(HeaderCell(2), QStringLiteral("BG Peak"));
        QCOMPARE(HeaderCell(4), QStringLiteral("BG Nadir"));
        QCOMPARE(HeaderCell(5), QString::fromUtf8("\u0394G > 1 SD"));
    }

    void typedTextStaysUntilTheNextWrite() {
        const Program program;
        Tf_main& w = *f_main;
        QCOMPARE(w.ce_Mittelwert->text(), QStringLiteral("13.50"));
        w.ce_Mittelwert->selectAll();
        QTest::keyClicks(w.ce_Mittelwert, QStringLiteral("12,3"));
        w.ce_PID->selectAll();
        QTest::keyClicks(w.ce_PID, QStringLiteral("Patient 7"));
        QCOMPARE(w.State().ce_Mittelwert.Text, std::string("12,3"));
        w.RefreshWidgets();
        QCOMPARE(w.ce_Mittelwert->text(), QStringLiteral("12,3"));
        w.en1->trigger();
        w.RefreshWidgets();
        QCOMPARE(w.ce_Mittelwert->text(), QStringLiteral("12,3"));
        w.de1->trigger();
        QCOMPARE(w.ce_Mittelwert->text(), QStringLiteral("12,3"));
        QCOMPARE(w.ce_PID->text(), QStringLiteral("Patient 7"));
        // A grid switch shows the statistics again; the identifier stays until a file has one.
        w.N5minRaster1->trigger();
        QCOMPARE(w.ce_Mittelwert->text(), QStringLiteral("13.50"));
        QCOMPARE(w.ce_PID->text(), QStringLiteral("Patient 7"));
    }
};

QTEST_MAIN(LanguageTest)
#include "tst_language.moc"
