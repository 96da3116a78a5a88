// The preferences dialog: layout, captions by language, the radio groups as views
// of the state, LoadPrefs at every showing and on "Abbruch", and the modal results.
#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <fstream>
#include <memory>

#include "ui/dialogs/u_prefs.h"
#include "windowlogic/MainState.h"
#include "windowlogic/TextTables.h"

using namespace zelk;

namespace {

// Which item a group shows checked, -1 for none.
int Checked(const RadioGroup* group) {
    for (int i = 0; i < 2; ++i)
        if (group->Button(i)->isChecked()) return i;
    return -1;
}

// Runs `act` on the dialog once its modal loop has started.
void WhenShown(Tf_prefs& dialog, std::function<void()> act) {
    QTimer::singleShot(0, &dialog, [&dialog, act] {
        if (QApplication::activeModalWidget() == &dialog) act();
    });
}

}  // namespace

class PrefsTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    std::unique_ptr<MainState> state_;
    std::unique_ptr<QWidget> main_;
    std::unique_ptr<Tf_prefs> prefs_;

    void WriteIni(const std::string& text) {
        std::ofstream out(state_->IniPath, std::ios::binary);
        out << text;
    }
    void SetLanguage(const std::string& code) {
        state_->Sprache = code;
        state_->texts = TextsFor(code);
    }

private slots:
    void init() {
        state_ = std::make_unique<MainState>();
        state_->IniPath = dir_.filePath(QStringLiteral("zelk.ini")).toStdString();
        QFile::remove(QString::fromStdString(state_->IniPath));
        SetLanguage("de");
        main_ = std::make_unique<QWidget>();
        main_->setGeometry(100, 80, 800, 600);
        prefs_ = std::make_unique<Tf_prefs>(*state_, main_.get());
    }
    void cleanup() {
        prefs_.reset();
        main_.reset();
        state_.reset();
    }

    void layoutOfTheWindowDescription() {
        Tf_prefs& d = *prefs_;
        QCOMPARE(d.size(), QSize(361, 195));
        QCOMPARE(d.windowTitle(), QStringLiteral("Voreinstellungen"));
        QVERIFY(!(d.windowFlags() & Qt::WindowCloseButtonHint));
        QCOMPARE(d.Button1->geometry(), QRect(156, 156, 90, 25));
        QCOMPARE(d.Button2->geometry(), QRect(252, 156, 90, 25));
        QCOMPARE(d.rg_Import->geometry(), QRect(44, 32, 97, 69));
        QCOMPARE(d.rg_Anzeige->geometry(), QRect(172, 32, 97, 69));
        QCOMPARE(d.Button1->text(), QStringLiteral("\u00fcbernehmen"));
        QCOMPARE(d.Button2->text(), QStringLiteral("Abbruch"));
        QCOMPARE(d.rg_Import->title(), QStringLiteral("Importdaten"));
        QCOMPARE(d.rg_Anzeige->title(), QStringLiteral("Anzeige"));
        QCOMPARE(d.rg_Import->Button(0)->text(), QStringLiteral("mmol/l"));
        QCOMPARE(d.rg_Import->Button(1)->text(), QStringLiteral("mg/dl"));
        QCOMPARE(Checked(d.rg_Import), 0);
        QCOMPARE(Checked(d.rg_Anzeige), 0);
    }

    void captionsByLanguage_data() {
        QTest::addColumn<QString>("code");
        QTest::addColumn<bool>("english");
        QTest::newRow("de") << "de" << false;
        QTest::newRow("en") << "en" << true;
        QTest::newRow("EN") << "EN" << false;
        QTest::newRow("fr") << "fr" << false;
        QTest::newRow("empty") << "" << false;
    }
    void captionsByLanguage() {
        QFETCH(QString, code);
        QFETCH(bool, english);
        SetLanguage(code.toStdString());
        prefs_->show();
        Tf_prefs& d = *prefs_;
        QCOMPARE(d.windowTitle(), english ? QStringLiteral("Preferences") : QStringLiteral("Voreinstellungen"));
        QCOMPARE(d.rg_Import->title(), english ? QStringLiteral("Import data") : QStringLiteral("Importdaten"));
        QCOMPARE(d.rg_Anzeige->title(), english ? QStringLiteral("View") : QStringLiteral("Anzeige"));
        QCOMPARE(d.Button1->text(), english ? QStringLiteral("Ok") : QStringLiteral("\u00fcbernehmen"));
        QCOMPARE(d.Button2->text(), english ? QStringLiteral("Cancel") : QStringLiteral("Abbruch"));
        // The items are the unit texts of the language tables ("en" only is English).
        QDir().mkpath(QStringLiteral(ZELK_TEST_OUTPUT_DIR));
        d.grab().save(QStringLiteral(ZELK_TEST_OUTPUT_DIR "/prefs_%1.png").arg(english ? "en" : "de"));
        for (const RadioGroup* group : {d.rg_Import, d.rg_Anzeige}) {
            QCOMPARE(group->Button(0)->text(), english ? QStringLiteral("mmol/L") : QStringLiteral("mmol/l"));
            QCOMPARE(group->Button(1)->text(), english ? QStringLiteral("mg/dL") : QStringLiteral("mg/dl"));
        }
        prefs_->hide();
    }

    void groupsAreLiveViewsOfTheState() {
        prefs_->show();
        prefs_->rg_Anzeige->Button(1)->click();
        QCOMPARE(state_->rg_Anzeige, 1);
        prefs_->rg_Import->Button(1)->click();
        QCOMPARE(state_->rg_Import, 1);
        prefs_->rg_Import->Button(0)->click();
        QCOMPARE(state_->rg_Import, 0);

        state_->rg_Anzeige = 0;
        prefs_->rg_Anzeige->Refresh();
        QCOMPARE(Checked(prefs_->rg_Anzeige), 0);
        prefs_->rg_Anzeige->SetItemIndex(7);
        QCOMPARE(state_->rg_Anzeige, 1);
        QCOMPARE(Checked(prefs_->rg_Anzeige), 1);
    }

    void showingLoadsTheStoredValues() {
        WriteIni("[Prefs]\r\nImport=1\r\nAnzeige=0\r\n");
        state_->rg_Import = 0;
        state_->rg_Anzeige = 1;
        prefs_->show();
        QCOMPARE(state_->rg_Import, 1);
        QCOMPARE(state_->rg_Anzeige, 0);
        QCOMPARE(Checked(prefs_->rg_Import), 1);
        QCOMPARE(Checked(prefs_->rg_Anzeige), 0);
    }

    void withoutAFileBothAreMmol() {
        state_->rg_Import = 1;
        state_->rg_Anzeige = 1;
        prefs_->show();
        QCOMPARE(state_->rg_Import, 0);
        QCOMPARE(state_->rg_Anzeige, 0);
    }

    void storedValuesAreLimited_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("index");
        QTest::newRow("5 shows mg/dl") << "5" << 1;
        QTest::newRow("1") << "1" << 1;
        QTest::newRow("-3 shows none") << "-3" << -1;
        QTest::newRow("not a number") << "mg" << 0;
    }
    void storedValuesAreLimited() {
        QFETCH(QString, stored);
        QFETCH(int, index);
        WriteIni("[Prefs]\r\nAnzeige=" + stored.toStdString() + "\r\n");
        prefs_->show();
        QCOMPARE(state_->rg_Anzeige, index);
        QCOMPARE(Checked(prefs_->rg_Anzeige), index);
    }

    void abbruchReturnsBothGroupsToTheStoredValues() {
        WriteIni("[Prefs]\r\nImport=0\r\nAnzeige=1\r\n");
        int result = -1;
        WhenShown(*prefs_, [this] {
            prefs_->rg_Import->Button(1)->click();
            prefs_->rg_Anzeige->Button(0)->click();
            QCOMPARE(state_->rg_Import, 1);
            QCOMPARE(state_->rg_Anzeige, 0);
            prefs_->Button2->click();
        });
        result = prefs_->ShowModal();
        QCOMPARE(result, Tf_prefs::kResultCancel);
        QCOMPARE(state_->rg_Import, 0);
        QCOMPARE(state_->rg_Anzeige, 1);
        QCOMPARE(Checked(prefs_->rg_Import), 0);
        QCOMPARE(Checked(prefs_->rg_Anzeige), 1);
    }

    void uebernehmenKeepsTheChoicesLiveWithoutSaving() {
        WhenShown(*prefs_, [this] {
            prefs_->rg_Import->Button(1)->click();
            prefs_->Button1->click();
        });
        QCOMPARE(prefs_->ShowModal(), Tf_prefs::kResultOk);
        QCOMPARE(state_->rg_Import, 1);
        QCOMPARE(state_->rg_Anzeige, 0);
        // Saving is the main window's part.
        QVERIFY(!QFile::exists(QString::fromStdString(state_->IniPath)));
    }

    void escapeDoesNotCloseTheDialog() {
        bool stillOpen = false;
        WhenShown(*prefs_, [this, &stillOpen] {
            QTest::keyClick(prefs_.get(), Qt::Key_Escape);
            stillOpen = prefs_->isVisible();
            prefs_->Button1->click();
        });
        QCOMPARE(prefs_->ShowModal(), Tf_prefs::kResultOk);
        QVERIFY(stillOpen);
    }

    void unreadableFileLeavesTheLiveChoices() {
        QDir().mkpath(QString::fromStdString(state_->IniPath));  // exists, but cannot be read as a file
        state_->rg_Anzeige = 1;
        prefs_->show();
        QCOMPARE(state_->rg_Anzeige, 1);
        QCOMPARE(Checked(prefs_->rg_Anzeige), 1);
        prefs_->hide();
        QDir(QString::fromStdString(state_->IniPath)).removeRecursively();
    }

    void centredOnTheMainWindowTheFirstTime() {
        prefs_->show();
        QCOMPARE(prefs_->frameGeometry().center(), main_->frameGeometry().center());
        prefs_->move(10, 20);
        prefs_->hide();
        prefs_->show();
        QCOMPARE(prefs_->pos(), QPoint(10, 20));
    }
};

QTEST_MAIN(PrefsTest)
#include "tst_prefs.moc"
