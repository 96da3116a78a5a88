// Commands that run while the window lets pending events in: the items that wait while an
// import, a calculation or the batch runs, and a close in the middle of one, after which no
// further window appears.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

#include "support/TestSupport.h"
#include "ui/ConvEdit.h"
#include "ui/PlotLayers.h"
#include "ui/dialogs/u_Sensor.h"
#include "ui/u_main.h"

using namespace zelk;
using namespace zelk::test;

namespace {

// Notes every modal window that comes up and closes it.
class ModalWatch {
public:
    ModalWatch() {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal || !modal->isVisible()) return;
            shown << modal->metaObject()->className();
            if (auto* box = qobject_cast<QMessageBox*>(modal))
                box->button(QMessageBox::Ok)->click();
            else if (auto* day = qobject_cast<Tf_Sensor*>(modal))
                day->Button2->click();
        });
        timer_.start();
    }
    QStringList shown;

private:
    QTimer timer_;
};

// Closes the main window while the import runs, then hands back a file.
class ClosingChooser : public FileChooser {
public:
    explicit ClosingChooser(QString path) : path_(std::move(path)) {}
    QString ChooseOpenFile(QWidget*, const QString&, const QStringList&) override {
        f_main->close();
        return path_;
    }

private:
    QString path_;
};

// Hands back a folder; with `closeNext` the main window closes at the next pending-event run.
class FolderAnswer : public FolderChooser {
public:
    FolderAnswer(QString folder, bool closeNext) : folder_(std::move(folder)), closeNext_(closeNext) {}
    QString ChooseFolder(QWidget*, const QString&, const QString&) override {
        if (closeNext_) QTimer::singleShot(0, f_main, [] { f_main->close(); });
        return folder_;
    }

private:
    QString folder_;
    bool closeNext_;
};

// At every pending-event run of the core: counts it, notes whether all items wait, and
// tries the grid-width and language switches a user could reach in between.
class StepWatch {
public:
    StepWatch() {
        MainHooks& hooks = f_main->Core().Hooks();
        hooks.processEvents = [this, original = hooks.processEvents] {
            ++steps;
            waited = waited && CommandsDisabled();
            f_main->en1->trigger();
            f_main->N5minRaster1->trigger();
            original();
        };
    }
    int steps = 0;
    bool waited = true;
};

// After the command: no switch came through, and every item is back.
void CheckNothingSwitched() {
    QVERIFY(CommandsEnabled());
    QCOMPARE(f_main->State().Sprache, std::string("de"));
    QCOMPARE(f_main->State().X_Raster, 4);
    QVERIFY(f_main->N15minRaster1->isChecked());
    QCOMPARE(f_main->PlotWidth, 288 * 4 + 83);
}

std::string Clock(int minutes) {
    const QLatin1Char zero('0');
    return QStringLiteral("%1:%2").arg(minutes / 60, 2, 10, zero).arg(minutes % 60, 2, 10, zero).toStdString();
}

// Twelve readings every 15 minutes from 08:00 with decimal commas, and one on a later day.
// Its indices: S+E+ 4,0, S-E+ 5,0, S-E- 5,0, S+E- 4,5.
std::vector<std::string> WorkedFile() {
    const std::vector<std::string> values = {"6,0", "7,5", "9,0", "10,5", "9,5", "7,0",
                                             "5,5", "6,0", "7,5", "8,5",  "9,0", "8,5"};
    std::vector<std::string> lines = {SensorHeader()};
    for (size_t i = 0; i < values.size(); ++i)
        lines.push_back(
            Reading(static_cast<int>(i + 1), "01-Jan-08", Clock(8 * 60 + 15 * static_cast<int>(i)), values[i]));
    lines.push_back(Reading(20, "20-Jan-08", "12:00", "5,0"));
    return lines;
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

class ClosingBusyTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() {
        CancelModalAnswers();
        QCOMPARE(ModalTimeouts(), 0);
    }

    void calculationLetsNoSwitchIn() {
        const Program program;
        const StepWatch watch;
        f_main->Button1->click();
        QVERIFY(watch.steps > 0);
        QVERIFY(watch.waited);
        CheckNothingSwitched();
        QVERIFY(!f_main->ce_ZELK->text().isEmpty());
    }

    void importLetsNoSwitchInAndTheItemsComeBackAfterAnError() {
        const QTemporaryDir dir;
        // A date that does not read: the grid build fails after the dialog.
        const Program program(WriteFile(
            dir, QStringLiteral("bad.txt"),
            {SensorHeader(), Reading(1, "31-Feb-24", "08:00", "6.0"), Reading(2, "31-Feb-24", "08:15", "7.0")}));
        const StepWatch watch;
        QString message;
        bool waitedInDialog = false;
        WhenDayDialog([&](Tf_Sensor& dialog) {
            waitedInDialog = CommandsDisabled();
            AnswerMessageBox(nullptr, &message);
            dialog.Button1->click();
        });
        f_main->ImportSensordaten1->trigger();
        QVERIFY(watch.steps > 0);
        QVERIFY(watch.waited);
        QVERIFY(waitedInDialog);
        QVERIFY(!message.isEmpty());
        CheckNothingSwitched();
    }

    void batchKeepsOneLanguageInEveryLine() {
        const QTemporaryDir dir;
        WriteFile(dir, QStringLiteral("worked.txt"), WorkedFile());
        const Program program({}, LocaleInfo::FromName("de_DE.UTF-8"));
        f_main->SetFolderChooser(std::make_unique<FolderAnswer>(dir.path(), false));
        const StepWatch watch;
        f_main->AutomBerechnung1Click();
        QVERIFY(watch.steps >= 6);
        QVERIFY(watch.waited);
        QCOMPARE(ReadAll(dir.filePath(QStringLiteral("ZELK_Tab.csv"))),
                 "Quelle;S+E+;S-E+;S-E-;S+E-\r\n" +
                     (dir.filePath(QStringLiteral("worked.txt")) + QStringLiteral(";4,0;5,0;5,0;4,5\r\n")).toUtf8());
        CheckNothingSwitched();
    }

    void closeWhileTheImportClearsEndsIt() {
        const QTemporaryDir dir;
        Program program(
            WriteFile(dir, QStringLiteral("example.txt"), {SensorHeader(), Reading(1, "14-Jun-24", "08:00", "6.0")}));
        const ModalWatch modals;
        QSignalSpy closed(f_main, &Tf_main::Closed);
        QTimer::singleShot(0, f_main, [] { f_main->close(); });
        f_main->ImportSensordaten1->trigger();
        QCOMPARE(closed.count(), 1);
        QVERIFY(!f_main->isVisible());
        QCOMPARE(program.Chooser().calls, 0);
        QVERIFY(!f_main->Busy());
        QCoreApplication::processEvents();
        QCOMPARE(modals.shown, QStringList());
        QCOMPARE(f_main->State().sensorTab.TotalRows(), 0);
    }

    void closeWhileTheFileIsReadShowsNoMessageAndNoDayDialog() {
        const QTemporaryDir dir;
        const QString path =
            WriteFile(dir, QStringLiteral("dup.txt"),
                      {SensorHeader(), Reading(1, "14-Jun-24", "08:00", "6.0"), Reading(2, "14-Jun-24", "08:15", "7.0"),
                       Reading(3, "14-Jun-24", "08:00", "8.0")});
        const Program program;
        f_main->SetFileChooser(std::make_unique<ClosingChooser>(path));
        const ModalWatch modals;
        f_main->ImportSensordaten1->trigger();
        QVERIFY(!f_main->isVisible());
        QVERIFY(f_main->Closing());
        QVERIFY(!f_main->Busy());
        QCoreApplication::processEvents();
        // The reader ended its step: the rows before the duplicate stay, and its message,
        // the day dialog and the grid build are left out.
        QCOMPARE(modals.shown, QStringList());
        QCOMPARE(f_main->State().sensorTab.TotalRows(), 2);
        QVERIFY(!f_Sensor->isVisible());
        QCOMPARE(f_main->State().StartHour, 19);
        QVERIFY(f_main->l_Datum->text().isEmpty());
    }

    void closeDuringTheBatchEndsItWithoutMessages() {
        const QTemporaryDir dir;
        // The first file would show the reader's message on its duplicate.
        WriteFile(dir, QStringLiteral("a_dup.txt"),
                  {SensorHeader(), Reading(1, "01-Jan-08", "08:00", "6,0"), Reading(2, "20-Jan-08", "08:00", "6,0"),
                   Reading(3, "01-Jan-08", "08:00", "7,0")});
        WriteFile(dir, QStringLiteral("b_worked.txt"), WorkedFile());
        const Program program({}, LocaleInfo::FromName("de_DE.UTF-8"));
        f_main->SetFolderChooser(std::make_unique<FolderAnswer>(dir.path(), true));
        const ModalWatch modals;
        QSignalSpy closed(f_main, &Tf_main::Closed);
        f_main->AutomBerechnung1Click();
        QCOMPARE(closed.count(), 1);
        QVERIFY(!f_main->Busy());
        QCoreApplication::processEvents();
        QCOMPARE(modals.shown, QStringList());
        // The walk ended at its first step: the result file holds its header only.
        QCOMPARE(ReadAll(dir.filePath(QStringLiteral("ZELK_Tab.csv"))), QByteArray("Quelle;S+E+;S-E+;S-E-;S+E-\r\n"));
        QCOMPARE(f_main->StatusPanel1->text(), QStringLiteral("2"));
    }
};

QTEST_MAIN(ClosingBusyTest)
#include "tst_closing_busy.moc"
