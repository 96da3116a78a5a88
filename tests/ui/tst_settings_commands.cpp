// The settings file as the program reads it at start-up and writes it at close, and the
// window commands: help, preferences, tables, About box, quit and the batch evaluation.
#include <QAction>
#include <QCheckBox>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>
#include <QtTest>
#include <memory>

#include "support/TestSupport.h"
#include "ui/CStringGrid.h"
#include "ui/ConvEdit.h"
#include "ui/Messages.h"
#include "ui/PlotLayers.h"
#include "ui/dialogs/About.h"
#include "ui/dialogs/u_Sensor.h"
#include "ui/dialogs/u_Tabellen.h"
#include "ui/dialogs/u_prefs.h"
#include "ui/u_main.h"

using namespace zelk;
using namespace zelk::test;

namespace {

const QByteArray kFirstRunFile =
    "[Fenster]\r\nX_Raster=4\r\nTop=114\r\nLeft=246\r\n\r\n"
    "[Anwendung]\r\nSprache=de\r\nStartwert=1\r\nEndwert=1\r\n\r\n";
const QByteArray kBatchHeader = "Quelle;S+E+;S-E+;S-E-;S+E-\r\n";

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteText(const QString& path, const QByteArray& text) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text);
}

// Answers every message box while it lives, noting caption and text; questions get
// the answer set in `answer`.
class MessageRecorder {
public:
    MessageRecorder() {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this] { Answer(); });
        timer_.start();
    }

    struct Shown {
        QString caption;
        QString text;
        bool busy = false;  // the main window's commands were disabled meanwhile
    };
    QList<Shown> shown;
    QMessageBox::StandardButton answer = QMessageBox::Yes;

    QStringList Texts() const {
        QStringList texts;
        for (const Shown& box : shown) texts << box.text;
        return texts;
    }

private:
    void Answer() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible()) return;
        shown.append({box->windowTitle(), box->text(), f_main && CommandsDisabled()});
        QAbstractButton* button = box->button(QMessageBox::Ok);
        if (!button) button = box->button(answer);
        button->click();
    }

    QTimer timer_;
};

// Takes the place of the desktop's handler of local files.
class UrlRecorder : public QObject {
    Q_OBJECT
public:
    UrlRecorder() { QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "open"); }
    ~UrlRecorder() override { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }
    QList<QUrl> urls;

public slots:
    void open(const QUrl& url) { urls << url; }
};

// Makes a folder the current one and goes back to the previous one at the end.
class CurrentFolder {
public:
    explicit CurrentFolder(const QString& path) : previous_(QDir::currentPath()) { QDir::setCurrent(path); }
    ~CurrentFolder() { QDir::setCurrent(previous_); }
    CurrentFolder(const CurrentFolder&) = delete;
    CurrentFolder& operator=(const CurrentFolder&) = delete;

private:
    QString previous_;
};

// A folder chooser that hands back a fixed folder and notes how it was asked.
class FixedFolderChooser : public FolderChooser {
public:
    explicit FixedFolderChooser(QString folder) : folder_(std::move(folder)) {}
    QString ChooseFolder(QWidget*, const QString& title, const QString& startFolder) override {
        ++calls;
        lastTitle = title;
        lastStart = startFolder;
        return folder_;
    }
    int calls = 0;
    QString lastTitle;
    QString lastStart;

private:
    QString folder_;
};

FixedFolderChooser& UseFolder(const QString& folder) {
    auto chooser = std::make_unique<FixedFolderChooser>(folder);
    FixedFolderChooser& ref = *chooser;
    f_main->SetFolderChooser(std::move(chooser));
    return ref;
}

// Which item a radio group shows checked, -1 for none.
int Checked(const RadioGroup* group) {
    for (int i = 0; i < 2; ++i)
        if (group->Button(i)->isChecked()) return i;
    return -1;
}

// Runs `act` on the preferences dialog once it is the modal window.
void WhenPrefsShown(std::function<void(Tf_prefs&)> act) {
    WhenModal([act](QWidget* modal) {
        auto* prefs = qobject_cast<Tf_prefs*>(modal);
        if (!prefs) return false;
        act(*prefs);
        return true;
    });
}

// A sensor file: readings every 15 minutes from 08:00 of 01-Jan-08, then one on a
// later day, so that it lists two days, then the line `tail`.
std::vector<std::string> SeriesFile(const std::vector<std::string>& values, const std::string& tail = {}) {
    std::vector<std::string> lines = {"ICode_TEST000001", SensorHeader()};
    int id = 1;
    for (size_t i = 0; i < values.size(); ++i) {
        const int minutes = 8 * 60 + static_cast<int>(i) * 15;
        const QLatin1Char zero('0');
        const QString clock = QStringLiteral("%1:%2").arg(minutes / 60, 2, 10, zero).arg(minutes % 60, 2, 10, zero);
        lines.push_back(Reading(id++, "01-Jan-08", clock.toStdString(), values[i]));
    }
    lines.push_back(Reading(id, "20-Jan-08", "12:00", "5.0"));
    if (!tail.empty()) lines.push_back(tail);
    return lines;
}

// Its indices: S+E+ 4.0, S-E+ 5.0, S-E- 5.0, S+E- 4.5.
const std::vector<std::string> kWorked = {"6.0", "7.5", "9.0", "10.5", "9.5", "7.0",
                                          "5.5", "6.0", "7.5", "8.5",  "9.0", "8.5"};
// One rise and one fall: 4.0, 4.0, empty, 4.0.
const std::vector<std::string> kPeak = {"5.0", "9.0", "5.0"};

}  // namespace

class SettingsCommandsTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() {
        CancelModalAnswers();
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
    }

    // ---- Settings file

    void firstRunThenCloseWritesTheFileByteForByte() {
        const Program program;
        QVERIFY(program.IniPath().endsWith(QStringLiteral("/zelk.ini")));
        QVERIFY(!QFile::exists(program.IniPath()));  // nothing on disk before the first save
        QSignalSpy closed(f_main, &Tf_main::Closed);
        f_main->close();
        QCOMPARE(closed.count(), 1);
        QCOMPARE(ReadAll(program.IniPath()), kFirstRunFile);
    }

    void prefsConfirmedBeforeTheFileExistsComeFirst() {
        const Program program;
        WhenPrefsShown([](Tf_prefs& prefs) { prefs.Button1->click(); });
        f_main->Voreinstellung1->trigger();
        QCOMPARE(ReadAll(program.IniPath()), QByteArray("[Prefs]\r\nImport=0\r\nAnzeige=0\r\n\r\n"));
        f_main->close();
        QCOMPARE(ReadAll(program.IniPath()), "[Prefs]\r\nImport=0\r\nAnzeige=0\r\n\r\n" + kFirstRunFile);
    }

    void storedSixGivesTheFiveMinuteGridAndClosingStoresThree() {
        QTemporaryDir dir;
        WriteText(dir.filePath(QStringLiteral("zelk.ini")), "[Fenster]\r\nX_Raster=6\r\n");
        const Program program({}, LocaleInfo::FromName("C"), dir.filePath(QStringLiteral("zelk")));
        QCOMPARE(f_main->State().X_Raster, 3);
        QVERIFY(f_main->N5minRaster1->isChecked());
        QVERIFY(!f_main->N15minRaster1->isChecked());
        QVERIFY(!f_main->Breitbild1->isChecked());
        QVERIFY(!f_main->Breitbild1->isEnabled());
        QCOMPARE(f_main->PlotWidth, 288 * 3 + 83);
        f_main->close();
        QVERIFY(ReadAll(program.IniPath()).startsWith("[Fenster]\r\nX_Raster=3\r\nTop=114\r\nLeft=246\r\n\r\n"));
    }

    void storedPlaceAndOptionsAreApplied() {
        QTemporaryDir dir;
        WriteText(dir.filePath(QStringLiteral("zelk.ini")),
                  "; kept nowhere\r\n[fenster]\r\n top = 300 \r\nLeft=0x28\r\n[Anwendung]\r\nStartwert=0\r\n"
                  "Endwert=2\r\n[Prefs]\r\nImport=5\r\n[Eigenes]\r\nSchluessel=Wert\r\n");
        const Program program({}, LocaleInfo::FromName("C"), dir.filePath(QStringLiteral("zelk")));
        QCOMPARE(f_main->geometry().topLeft(), QPoint(40, 300));
        QVERIFY(!f_main->cb_Startwert->isChecked());
        QVERIFY(f_main->cb_Endwert->isChecked());
        QCOMPARE(f_main->State().rg_Import, 1);
        QCOMPARE(Checked(f_prefs->rg_Import), 1);
        QCOMPARE(Checked(f_prefs->rg_Anzeige), 0);
        f_main->close();
        QCOMPARE(ReadAll(program.IniPath()),
                 QByteArray("[fenster]\r\nTop=300\r\nLeft=40\r\nX_Raster=4\r\n\r\n"
                            "[Anwendung]\r\nStartwert=0\r\nEndwert=1\r\nSprache=de\r\n\r\n"
                            "[Prefs]\r\nImport=5\r\n\r\n[Eigenes]\r\nSchluessel=Wert\r\n\r\n"));
    }

    void storedEnInCapitalsGivesGermanTextsWithEnglischChecked() {
        QTemporaryDir dir;
        WriteText(dir.filePath(QStringLiteral("zelk.ini")), "[Anwendung]\r\nSprache=EN\r\n");
        const Program program({}, LocaleInfo::FromName("C"), dir.filePath(QStringLiteral("zelk")));
        QCOMPARE(f_main->State().Sprache, std::string("EN"));
        QCOMPARE(f_main->windowTitle(), QStringLiteral("Berechnung ZELK"));
        QCOMPARE(f_main->Button1->text(), QStringLiteral("Berechne"));
        QCOMPARE(f_prefs->windowTitle(), QStringLiteral("Voreinstellungen"));
        QVERIFY(f_main->en1->isChecked());
        QVERIFY(!f_main->de1->isChecked());
        // "Englisch" is checked already, so choosing it changes nothing.
        f_main->en1->trigger();
        QCOMPARE(f_main->State().Sprache, std::string("EN"));
        f_main->close();
        QVERIFY(ReadAll(program.IniPath()).contains("\r\nSprache=EN\r\n"));
    }

    void storedEnglishAppliesEveryTableWithThePrefsCaptions() {
        QTemporaryDir dir;
        WriteText(dir.filePath(QStringLiteral("zelk.ini")), "[Anwendung]\r\nSprache=en\r\n");
        const Program program({}, LocaleInfo::FromName("C"), dir.filePath(QStringLiteral("zelk")));
        QCOMPARE(f_main->windowTitle(), QStringLiteral("Calculation of ZELK"));
        QCOMPARE(ApplicationTitle(), QStringLiteral("Calculation of ZELK"));
        QVERIFY(f_main->en1->isChecked());
        QCOMPARE(f_main->csg_Berechnung->Cells(2, 0), QStringLiteral("G peak"));
        QCOMPARE(f_prefs->windowTitle(), QStringLiteral("Preferences"));
        QCOMPARE(f_prefs->rg_Import->title(), QStringLiteral("Import data"));
        QCOMPARE(f_prefs->rg_Anzeige->title(), QStringLiteral("View"));
        QCOMPARE(f_prefs->Button1->text(), QStringLiteral("Ok"));
        QCOMPARE(f_prefs->Button2->text(), QStringLiteral("Cancel"));
        f_main->de1->trigger();
        QCOMPARE(f_prefs->windowTitle(), QStringLiteral("Voreinstellungen"));
        QCOMPARE(f_prefs->rg_Import->title(), QStringLiteral("Importdaten"));
        QCOMPARE(f_prefs->rg_Anzeige->title(), QStringLiteral("Anzeige"));
        QCOMPARE(f_prefs->Button1->text(), QStringLiteral("\u00fcbernehmen"));
        QCOMPARE(f_prefs->Button2->text(), QStringLiteral("Abbruch"));
    }

    void storedAnzeigeBelowZeroSelectsNoneAndShowsMgDl() {
        QTemporaryDir dir;
        WriteText(dir.filePath(QStringLiteral("zelk.ini")), "[Prefs]\r\nAnzeige=-3\r\n");
        const Program program({}, LocaleInfo::FromName("C"), dir.filePath(QStringLiteral("zelk")));
        QCOMPARE(f_main->State().rg_Anzeige, -1);
        QCOMPARE(Checked(f_prefs->rg_Anzeige), -1);
        QCOMPARE(Checked(f_prefs->rg_Import), 0);
        // The demo curve's mean 13.50 mmol/L and deviation 4.18 mmol/L in mg/dL.
        QCOMPARE(f_main->ce_Mittelwert->text(), QStringLiteral("243"));
        QCOMPARE(f_main->ce_StdAbw->text(), QStringLiteral("75"));
        QCOMPARE(f_main->Label4->text(), QStringLiteral("mg/dl"));
    }

    void unreadableFileStartsWithTheDefaultsAndSaysSoOnce() {
        QTemporaryDir dir;
        const QString ini = dir.filePath(QStringLiteral("zelk.ini"));
        QVERIFY(QDir().mkpath(ini));  // exists, but cannot be read as a file
        MessageRecorder messages;
        {
            const Program program({}, LocaleInfo::FromName("C"), dir.filePath(QStringLiteral("zelk")));
            QCOMPARE(messages.shown.size(), 1);
            QVERIFY(messages.shown[0].text.contains(ini));
            QVERIFY(messages.shown[0].text.contains(QStringLiteral("kann nicht gelesen werden")));
            QCOMPARE(messages.shown[0].caption, QStringLiteral("Berechnung ZELK"));
            QCOMPARE(f_main->geometry().topLeft(), QPoint(246, 114));
            QCOMPARE(f_main->State().X_Raster, 4);
            QCOMPARE(f_main->State().Sprache, std::string("de"));
            QVERIFY(f_main->de1->isChecked());
            QVERIFY(f_main->cb_Startwert->isChecked() && f_main->cb_Endwert->isChecked());
            QCOMPARE(f_main->ce_Mittelwert->text(), QStringLiteral("13.50"));
            // Closing says that the file cannot be read for the save, and still closes.
            QSignalSpy closed(f_main, &Tf_main::Closed);
            f_main->close();
            QCOMPARE(closed.count(), 1);
        }
        QCOMPARE(messages.shown.size(), 2);
        QVERIFY(messages.shown[1].text.contains(ini));
        QVERIFY(messages.shown[1].text.contains(QStringLiteral("kann nicht gelesen werden")));
        QVERIFY(QFileInfo(ini).isDir());
    }

    void unwritableTargetAtCloseNamesThePathAndStillCloses() {
        QTemporaryDir dir;
        const QString ini = dir.filePath(QStringLiteral("missing/zelk.ini"));
        MessageRecorder messages;
        const Program program({}, LocaleInfo::FromName("C"), dir.filePath(QStringLiteral("missing/zelk")));
        QVERIFY(messages.shown.isEmpty());  // a missing folder reads as a missing file
        f_main->en1->trigger();
        QSignalSpy closed(f_main, &Tf_main::Closed);
        f_main->Beenden1->trigger();
        QCOMPARE(closed.count(), 1);
        QVERIFY(!f_main->isVisible());
        QCOMPARE(
            messages.Texts(),
            QStringList{
                QStringLiteral("The settings file \"%1\" cannot be written: No such file or directory.").arg(ini)});
        QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("missing"))));
    }

    // ---- Help

    void helpPageByLanguage_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QStringList>("pages");
        QTest::addColumn<QString>("opened");
        QTest::addColumn<QString>("message");
        const QStringList both{QStringLiteral("Hilfe.htm"), QStringLiteral("help.htm")};
        const QString missingDe = QStringLiteral("Hilfe.htm nicht gefunden!");
        const QString missingEn = QStringLiteral("found not help.htm!");
        QTest::newRow("de found") << "de" << both << "Hilfe.htm" << QString();
        QTest::newRow("en found") << "en" << both << "help.htm" << QString();
        QTest::newRow("de missing") << "de" << QStringList{QStringLiteral("help.htm")} << QString() << missingDe;
        QTest::newRow("en missing") << "en" << QStringList{QStringLiteral("Hilfe.htm")} << QString() << missingEn;
        QTest::newRow("EN looks for Hilfe.htm") << "EN" << both << "Hilfe.htm" << QString();
        QTest::newRow("EN missing") << "EN" << QStringList{QStringLiteral("help.htm")} << QString() << missingDe;
        QTest::newRow("empty code") << "" << QStringList() << QString() << missingDe;
        QTest::newRow("a folder is no page")
            << "en" << QStringList{QStringLiteral("help.htm/")} << QString() << missingEn;
    }
    void helpPageByLanguage() {
        QFETCH(QString, language);
        QFETCH(QStringList, pages);
        QFETCH(QString, opened);
        QFETCH(QString, message);
        QTemporaryDir here;
        for (const QString& page : pages) {
            if (page.endsWith(QLatin1Char('/')))
                QVERIFY(QDir(here.path()).mkpath(page));
            else
                WriteText(here.filePath(page), "<html></html>");
        }
        const CurrentFolder current(here.path());
        const Program program;
        f_main->SetLanguage(language.toStdString());
        UrlRecorder urls;
        MessageRecorder messages;
        f_main->Hilfe1->trigger();
        if (opened.isEmpty()) {
            QVERIFY(urls.urls.isEmpty());
            QCOMPARE(messages.shown.size(), 1);
            QCOMPARE(messages.shown[0].text, message);
            QCOMPARE(messages.shown[0].caption, ApplicationTitle());
        } else {
            QVERIFY(messages.shown.isEmpty());
            QCOMPARE(urls.urls, QList<QUrl>{QUrl::fromLocalFile(QDir(here.path()).absoluteFilePath(opened))});
        }
    }

    void helpPageBesideTheProgramIsNotFoundFromAnotherFolder() {
        QTemporaryDir programDir;
        QTemporaryDir elsewhere;
        WriteText(programDir.filePath(QStringLiteral("Hilfe.htm")), "<html></html>");
        const Program program({}, LocaleInfo::FromName("C"), programDir.filePath(QStringLiteral("zelk")));
        UrlRecorder urls;
        MessageRecorder messages;
        {
            const CurrentFolder current(elsewhere.path());
            f_main->Hilfe1->trigger();
        }
        QVERIFY(urls.urls.isEmpty());
        QCOMPARE(messages.Texts(), QStringList{QStringLiteral("Hilfe.htm nicht gefunden!")});
        // The current folder counts at the moment of the command.
        {
            const CurrentFolder current(programDir.path());
            f_main->Hilfe1->trigger();
        }
        QCOMPARE(urls.urls.size(), 1);
        QCOMPARE(messages.shown.size(), 1);
    }

    // ---- Preferences

    void prefsConfirmedRecalculateInTheChosenUnit() {
        const Program program;
        // In English the unit header names the display unit alone.
        f_main->en1->trigger();
        const QImage background = f_main->img_Form->Picture().copy();
        QVERIFY(f_main->ce_ZELK->text().isEmpty());
        QVERIFY(f_main->csg_Berechnung->Cells(1, 1).isEmpty());
        WhenPrefsShown([](Tf_prefs& prefs) {
            prefs.rg_Anzeige->Button(1)->click();
            prefs.Button1->click();
        });
        f_main->Voreinstellung1->trigger();
        QCOMPARE(ReadAll(program.IniPath()), QByteArray("[Prefs]\r\nImport=0\r\nAnzeige=1\r\n\r\n"));
        // Statistics, axis labels and the demo curve's results in mg/dL.
        QCOMPARE(f_main->ce_Mittelwert->text(), QStringLiteral("243"));
        QCOMPARE(f_main->ce_StdAbw->text(), QStringLiteral("75"));
        QCOMPARE(f_main->Label4->text(), QStringLiteral("mg/dL"));
        QVERIFY(f_main->img_Form->Picture() != background);
        QVERIFY(QRegularExpression(QStringLiteral("^\\d+$")).match(f_main->ce_ZELK->text()).hasMatch());
        QVERIFY(f_main->csg_Berechnung->RowCount() > 1);
        const QRegularExpression wholeNumber(QStringLiteral("^ *\\d+$"));
        for (int row = 1; row < f_main->csg_Berechnung->RowCount(); ++row) {
            QVERIFY(!f_main->csg_Berechnung->Cells(1, row).isEmpty());
            for (const int col : {2, 4}) {
                const QString cell = f_main->csg_Berechnung->Cells(col, row);
                QVERIFY2(cell.isEmpty() || wholeNumber.match(cell).hasMatch(), qPrintable(cell));
            }
        }
        QVERIFY(CommandsEnabled());

        // Confirming unchanged units writes the section again (without the comment) and recalculates.
        WriteText(program.IniPath(), "[Prefs]\r\n; note\r\nImport=0\r\nAnzeige=1\r\n");
        f_main->csg_Berechnung->SetCells(1, 1, QString());
        WhenPrefsShown([](Tf_prefs& prefs) { prefs.Button1->click(); });
        f_main->Voreinstellung1->trigger();
        QCOMPARE(ReadAll(program.IniPath()), QByteArray("[Prefs]\r\nImport=0\r\nAnzeige=1\r\n\r\n"));
        QVERIFY(!f_main->csg_Berechnung->Cells(1, 1).isEmpty());
    }

    void prefsThatCannotBeSavedAreSaidWhileTheCommandsWait() {
        QTemporaryDir dir;
        const Program program({}, LocaleInfo::FromName("C"), dir.filePath(QStringLiteral("missing/zelk")));
        MessageRecorder messages;
        WhenPrefsShown([](Tf_prefs& prefs) {
            prefs.rg_Anzeige->Button(1)->click();
            prefs.Button1->click();
        });
        f_main->Voreinstellung1->trigger();
        QCOMPARE(messages.shown.size(), 1);
        QVERIFY(messages.shown[0].text.contains(dir.filePath(QStringLiteral("missing/zelk.ini"))));
        QVERIFY(messages.shown[0].busy);
        // The choice stays live and the chain goes on.
        QCOMPARE(f_main->ce_Mittelwert->text(), QStringLiteral("243"));
        QVERIFY(!f_main->ce_ZELK->text().isEmpty());
        QVERIFY(CommandsEnabled());
    }

    void prefsCancelledChangeNothing() {
        QTemporaryDir dir;
        const QByteArray stored = "[Prefs]\r\nImport=0\r\nAnzeige=0\r\n; note\r\n";
        WriteText(dir.filePath(QStringLiteral("zelk.ini")), stored);
        const Program program({}, LocaleInfo::FromName("C"), dir.filePath(QStringLiteral("zelk")));
        const QImage background = f_main->img_Form->Picture().copy();
        bool changedMeanwhile = false;
        WhenPrefsShown([&changedMeanwhile](Tf_prefs& prefs) {
            prefs.rg_Anzeige->Button(1)->click();
            prefs.rg_Import->Button(1)->click();
            changedMeanwhile = f_main->State().rg_Anzeige == 1 && f_main->State().rg_Import == 1;
            prefs.Button2->click();
        });
        f_main->Voreinstellung1->trigger();
        QVERIFY(changedMeanwhile);
        QCOMPARE(ReadAll(program.IniPath()), stored);
        QCOMPARE(f_main->State().rg_Import, 0);
        QCOMPARE(f_main->State().rg_Anzeige, 0);
        QCOMPARE(Checked(f_prefs->rg_Import), 0);
        QCOMPARE(Checked(f_prefs->rg_Anzeige), 0);
        QCOMPARE(f_main->ce_Mittelwert->text(), QStringLiteral("13.50"));
        QVERIFY(f_main->ce_ZELK->text().isEmpty());
        QVERIFY(f_main->csg_Berechnung->Cells(1, 1).isEmpty());
        QVERIFY(f_main->img_Form->Picture() == background);
    }

    void prefsWithOnlyTheImportUnitChangedActOnTheNextImport() {
        QTemporaryDir dir;
        const Program program(
            WriteFile(dir, QStringLiteral("mg.txt"),
                      {SensorHeader(), Reading(1, "14-Jun-24", "08:00", "99"), Reading(2, "14-Jun-24", "08:15", "108"),
                       Reading(3, "14-Jun-24", "08:30", "126")}));
        const auto shown = [] {
            QStringList texts{f_main->ce_Mittelwert->text(), f_main->ce_StdAbw->text(), f_main->ce_ZELK->text(),
                              f_main->Label4->text()};
            for (int row = 0; row < f_main->csg_Berechnung->RowCount(); ++row)
                for (int col = 0; col < 6; ++col) texts << f_main->csg_Berechnung->Cells(col, row);
            return texts;
        };
        f_main->Button1->click();
        const QStringList before = shown();
        QVERIFY(!f_main->ce_ZELK->text().isEmpty());
        const QImage background = f_main->img_Form->Picture().copy();
        WhenPrefsShown([](Tf_prefs& prefs) {
            prefs.rg_Import->Button(1)->click();
            prefs.Button1->click();
        });
        f_main->Voreinstellung1->trigger();
        QCOMPARE(ReadAll(program.IniPath()), QByteArray("[Prefs]\r\nImport=1\r\nAnzeige=0\r\n\r\n"));
        // Redrawn and calculated again, the shown values stay the same.
        QCOMPARE(shown(), before);
        QVERIFY(f_main->img_Form->Picture() == background);

        // The next imported file is read in mg/dL.
        WhenDayDialog([](Tf_Sensor& dialog) { dialog.Button1->click(); });
        f_main->ImportSensordaten1->trigger();
        const SensorRowStore& rows = f_main->State().sensorTab.Store();
        QCOMPARE(rows.Size(), 3);
        QCOMPARE(rows.At(0).bgWert, 99 / 18.0);
        QCOMPARE(rows.At(1).bgWert, 108 / 18.0);
        QCOMPARE(rows.At(2).bgWert, 126 / 18.0);
        QCOMPARE(f_main->ce_Mittelwert->text(), QStringLiteral("6.17"));
    }

    // ---- Tables, About box and quit

    void tabellenTwiceLeavesOneWindowInFront() {
        const Program program;
        f_main->abellen1->trigger();
        QVERIFY(f_Tabellen->isVisible());
        QVERIFY(!f_Tabellen->isModal());
        QApplication::processEvents();
        QCOMPARE(QApplication::activeWindow(), f_Tabellen);
        f_main->activateWindow();
        QApplication::processEvents();
        QCOMPARE(QApplication::activeWindow(), f_main);
        f_main->abellen1->trigger();
        QApplication::processEvents();
        QCOMPARE(QApplication::activeWindow(), f_Tabellen);
        int tables = 0;
        for (QWidget* window : QApplication::topLevelWidgets())
            if (qobject_cast<Tf_Tabellen*>(window) && window->isVisible()) ++tables;
        QCOMPARE(tables, 1);
        // The main window goes on working beside it.
        QVERIFY(CommandsEnabled());
    }

    void infoShowsTheAboutBoxModally() {
        const Program program;
        f_main->en1->trigger();
        QString version;
        QString title;
        bool modal = false;
        WhenModal([&](QWidget* widget) {
            auto* box = qobject_cast<TAboutBox*>(widget);
            if (!box) return false;
            modal = box->isModal();
            version = box->l_VersionsNummer->text();
            title = box->ProductName->text();
            box->OKButton->click();
            return true;
        });
        f_main->Info1->trigger();
        QVERIFY(modal);
        QCOMPARE(version, QStringLiteral("0.4.6.1 "));
        QCOMPARE(title, QStringLiteral("Calculation of ZELK"));
        QVERIFY(!AboutBox->isVisible());
    }

    void beendenWritesTheSettings() {
        const Program program;
        f_main->en1->trigger();
        f_main->N5minRaster1->trigger();
        f_main->cb_Endwert->click();
        f_main->setGeometry(QRect(QPoint(300, 200), f_main->size()));
        QSignalSpy closed(f_main, &Tf_main::Closed);
        f_main->Beenden1->trigger();
        QCOMPARE(closed.count(), 1);
        QVERIFY(!f_main->isVisible());
        QCOMPARE(ReadAll(program.IniPath()),
                 QByteArray("[Fenster]\r\nX_Raster=3\r\nTop=200\r\nLeft=300\r\n\r\n"
                            "[Anwendung]\r\nSprache=en\r\nStartwert=1\r\nEndwert=0\r\n\r\n"));
    }

    // ---- Batch evaluation

    void batchFolderDialogIsQtsOwnAndStartsAtTheCurrentFolder() {
        QTemporaryDir here;
        const CurrentFolder current(here.path());
        const Program program;
        QString start;
        bool native = true;
        bool directories = false;
        WhenModal([&](QWidget* widget) {
            auto* dialog = qobject_cast<QFileDialog*>(widget);
            if (!dialog) return false;
            start = dialog->directory().absolutePath();
            native = !dialog->testOption(QFileDialog::DontUseNativeDialog);
            directories = dialog->fileMode() == QFileDialog::Directory;
            dialog->reject();
            return true;
        });
        f_main->AutomBerechnung1Click();
        QCOMPARE(start, QDir(here.path()).absolutePath());
        QVERIFY(!native);
        QVERIFY(directories);
        QVERIFY(QDir(here.path()).isEmpty());
        QVERIFY(CommandsEnabled());
    }

    void folderDialogHandsBackATypedFolderThatDoesNotExist() {
        QTemporaryDir dir;
        const QString typed = dir.filePath(QStringLiteral("neu"));
        WhenModal([&](QWidget* widget) {
            auto* dialog = qobject_cast<QFileDialog*>(widget);
            if (!dialog) return false;
            auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            if (!edit) return false;
            edit->setText(typed);
            QMetaObject::invokeMethod(dialog, "accept");
            return true;
        });
        DialogFolderChooser chooser;
        QCOMPARE(chooser.ChooseFolder(nullptr, QStringLiteral("Verzeichnis"), dir.path()), typed);
        QVERIFY(!QFileInfo::exists(typed));  // creating it is the caller's part
    }

    void batchCancelledWritesNothing() {
        QTemporaryDir here;
        const CurrentFolder current(here.path());
        const Program program;
        FixedFolderChooser& chooser = UseFolder(QString());
        f_main->pb_Status->setValue(40);
        MessageRecorder messages;
        QVERIFY(!f_main->AutomBerechnung1->isVisible());
        f_main->AutomBerechnung1Click();
        QCOMPARE(chooser.calls, 1);
        QCOMPARE(chooser.lastStart, QDir::currentPath());
        QVERIFY(QDir(here.path()).isEmpty());
        QVERIFY(f_main->StatusPanel1->text().isEmpty());
        QCOMPARE(f_main->pb_Status->value(), 40);
        QVERIFY(messages.shown.isEmpty());
        QVERIFY(CommandsEnabled());
    }

    void batchOfTwoFilesLeavesTheLastOneShown() {
        QTemporaryDir dir;
        WriteFile(dir, QStringLiteral("a_worked.txt"), SeriesFile(kWorked));
        WriteFile(dir, QStringLiteral("b_peak.txt"), SeriesFile(kPeak));
        const Program program;
        UseFolder(dir.path());
        f_main->pb_Status->setValue(40);
        MessageRecorder messages;
        f_main->AutomBerechnung1Click();
        const QString r = dir.path() + QLatin1Char('/');
        QCOMPARE(ReadAll(dir.filePath(QStringLiteral("ZELK_Tab.csv"))),
                 kBatchHeader + (r + "a_worked.txt;4.0;5.0;5.0;4.5\r\n" + r + "b_peak.txt;4.0;4.0;;4.0\r\n").toUtf8());
        QVERIFY(messages.shown.isEmpty());
        QCOMPARE(f_main->StatusPanel1->text(), QStringLiteral("fertig"));
        QCOMPARE(f_main->pb_Status->value(), 0);
        // The last file and its last calculation, start option on and end option off.
        QVERIFY(f_main->cb_Startwert->isChecked());
        QVERIFY(!f_main->cb_Endwert->isChecked());
        QCOMPARE(f_main->ce_ZELK->text(), QStringLiteral("4.0"));
        QCOMPARE(f_main->ce_PID->text(), QStringLiteral("TEST000001"));
        QCOMPARE(f_main->l_Datum->text(), QStringLiteral("01-Jan-08"));
        QCOMPARE(f_main->State().sensorTab.TotalRows(), 4);
        QCOMPARE(f_Sensor->lb_Sensor->count(), 2);
        QCOMPARE(f_main->csg_Berechnung->Cells(1, 1), QStringLiteral("08:00"));
        QVERIFY(CommandsEnabled());
    }

    void batchIntoATypedFolderAsksBeforeCreatingIt() {
        QTemporaryDir dir;
        const QString typed = dir.filePath(QStringLiteral("neu/unten"));
        const Program program;
        UseFolder(typed);
        MessageRecorder messages;
        messages.answer = QMessageBox::No;
        f_main->AutomBerechnung1Click();
        QCOMPARE(
            messages.Texts(),
            QStringList{QStringLiteral("Das Verzeichnis \"%1\" existiert nicht. Soll es erstellt werden?").arg(typed)});
        QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("neu"))));
        QVERIFY(f_main->StatusPanel1->text().isEmpty());

        messages.answer = QMessageBox::Yes;
        f_main->AutomBerechnung1Click();
        QCOMPARE(messages.shown.size(), 2);
        QVERIFY(QFileInfo(typed).isDir());
        QCOMPARE(ReadAll(typed + QStringLiteral("/ZELK_Tab.csv")), kBatchHeader);
        QCOMPARE(f_main->StatusPanel1->text(), QStringLiteral("fertig"));
        QVERIFY(CommandsEnabled());

        // A folder that cannot be made is said, and the batch does not start.
        WriteText(dir.filePath(QStringLiteral("datei")), "x");
        const QString impossible = dir.filePath(QStringLiteral("datei/unten"));
        UseFolder(impossible);
        f_main->StatusPanel1->clear();
        f_main->AutomBerechnung1Click();
        QCOMPARE(messages.shown.size(), 4);
        QVERIFY(messages.shown[2].text.contains(QStringLiteral("existiert nicht")));
        QCOMPARE(messages.shown[3].text,
                 QStringLiteral("Das Verzeichnis \"%1\" kann nicht erstellt werden: Not a directory.").arg(impossible));
        QVERIFY(f_main->StatusPanel1->text().isEmpty());
        QVERIFY(CommandsEnabled());
    }

    void batchCommandsWaitWhileItRunsAndAfterAnErrorComeBack() {
        QTemporaryDir dir;
        // A duplicate date and time: the reader's message, shown while the batch runs.
        WriteFile(dir, QStringLiteral("a_dup.txt"), SeriesFile(kPeak, Reading(9, "01-Jan-08", "08:15", "3.0")));
        // The first listed day does not read as a date: the batch ends there.
        WriteFile(dir, QStringLiteral("b_bad.txt"),
                  {SensorHeader(), Reading(1, "xx-Jan-08", "08:00", "6.0"), Reading(2, "xx-Jan-08", "09:00", "9.0"),
                   Reading(3, "20-Jan-08", "08:00", "6.0")});
        WriteFile(dir, QStringLiteral("c_worked.txt"), SeriesFile(kWorked));
        const Program program;
        UseFolder(dir.path());
        MessageRecorder messages;
        f_main->AutomBerechnung1Click();
        QCOMPARE(messages.shown.size(), 1);
        QCOMPARE(messages.shown[0].text, QStringLiteral("Fehler beim Import der Sensordaten! 01-Jan-08  08:15"));
        QVERIFY(messages.shown[0].busy);
        QCOMPARE(ReadAll(dir.filePath(QStringLiteral("ZELK_Tab.csv"))),
                 kBatchHeader + (dir.path() + "/a_dup.txt;4.0;4.0;;4.0\r\n").toUtf8());
        QCOMPARE(f_main->StatusPanel1->text(), QStringLiteral("1/3"));
        QVERIFY(CommandsEnabled());
    }
};

QTEST_MAIN(SettingsCommandsTest)
#include "tst_settings_commands.moc"
