// The About box: every label with its place and text, the version text of this
// program file, the file date, the title line by language, and the OK button.
#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QTemporaryFile>
#include <QTimer>
#include <QtTest>
#include <memory>

#include "ui/Messages.h"
#include "ui/dialogs/About.h"
#include "windowlogic/VersionInfo.h"

using namespace zelk;

class AboutTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TAboutBox> box_;

private slots:
    void init() {
        SetApplicationTitle(QStringLiteral("Berechnung ZELK"));
        box_ = std::make_unique<TAboutBox>();
    }
    void cleanup() { box_.reset(); }

    void layoutOfTheWindowDescription() {
        TAboutBox& b = *box_;
        QCOMPARE(b.windowTitle(), QStringLiteral("Info"));
        QCOMPARE(b.size(), QSize(298, 209));
        QVERIFY(b.windowFlags() & Qt::WindowCloseButtonHint);
        QCOMPARE(b.Panel1->geometry(), QRect(8, 8, 281, 161));
        QCOMPARE(b.Panel1->frameShadow(), QFrame::Sunken);
        QCOMPARE(b.Panel1->palette().color(QPalette::Window), QColor(166, 202, 240));
        QCOMPARE(b.ProgramIcon->geometry(), QRect(24, 16, 41, 41));
        QCOMPARE(b.ProgramIcon->pixmap().size(), QSize(41, 41));
        QCOMPARE(b.OKButton->geometry(), QRect(118, 178, 65, 26));
        QCOMPARE(b.OKButton->text(), QStringLiteral("OK"));
        QVERIFY(b.OKButton->isDefault());

        const struct {
            QLabel* label;
            QString text;
            QPoint place;
        } labels[] = {
            {b.Comments, QStringLiteral("ZURAN"), {72, 40}},
            {b.Label4, QStringLiteral("\u00ae "), {112, 36}},
            {b.Label5, QStringLiteral("Tavrik Version"), {126, 40}},
            {b.Label1, QStringLiteral("Orvena "), {88, 96}},
            {b.Label2, QStringLiteral("\"Dolvek Anstrum\""), {88, 112}},
            {b.Label3, QStringLiteral("Brevonne"), {88, 128}},
            {b.ProductName, QString(), {105, 12}},
            {b.l_VersionsNummer, QString(), {208, 40}},
            {b.l_Datum, QString(), {120, 56}},
        };
        for (const auto& l : labels) {
            QCOMPARE(l.label->parentWidget(), b.Panel1);
            QCOMPARE(l.label->text(), l.text);
            QCOMPARE(l.label->pos(), l.place);
        }
        for (QLabel* fixed : {b.Label1, b.Label2, b.Label3}) {
            QCOMPARE(fixed->size(), QSize(120, 13));
            QVERIFY(fixed->alignment() & Qt::AlignHCenter);
        }
        QVERIFY(b.Comments->wordWrap());
        QVERIFY(b.ProductName->font().bold());
        QCOMPARE(b.ProductName->font().pixelSize(), 13);
        QCOMPARE(b.font().pixelSize(), 11);
    }

    void showingReadsVersionDateAndTitle() {
        box_->show();
        TAboutBox& b = *box_;
        QCOMPARE(b.l_VersionsNummer->text(), QStringLiteral("0.4.6.1 "));  // with its blank
        QCOMPARE(b.ProductName->text(), QStringLiteral("Berechnung ZELK"));
        const QString date = b.l_Datum->text();
        QVERIFY2(QRegularExpression(QStringLiteral("^\\d{4}-\\d\\d-\\d\\d-\\d\\d-\\d\\d$")).match(date).hasMatch(),
                 qPrintable(date));
        const std::string self = QCoreApplication::applicationFilePath().toStdString();
        QCOMPARE(date, QString::fromStdString(GetFileDateString(self)));
        QVERIFY(b.l_VersionsNummer->width() > 0);
        QDir().mkpath(QStringLiteral(ZELK_TEST_OUTPUT_DIR));
        b.grab().save(QStringLiteral(ZELK_TEST_OUTPUT_DIR "/about.png"));
        QCOMPARE(b.focusWidget(), b.Panel1);
        b.hide();

        // After a switch to English only the title line changes.
        SetApplicationTitle(QStringLiteral("Calculation of ZELK"));
        b.show();
        QCOMPARE(b.ProductName->text(), QStringLiteral("Calculation of ZELK"));
        QCOMPARE(b.l_VersionsNummer->text(), QStringLiteral("0.4.6.1 "));
        QCOMPARE(b.Label5->text(), QStringLiteral("Tavrik Version"));
    }

    void fileWithoutVersionBlockGivesAnEmptyLabel() {
        QTemporaryFile plain;
        QVERIFY(plain.open());
        plain.write("no version here");
        plain.close();
        box_->SetProgramFile(plain.fileName());
        box_->show();
        QCOMPARE(box_->l_VersionsNummer->text(), QString());
        QCOMPARE(box_->l_Datum->text(), QString::fromStdString(GetFileDateString(plain.fileName().toStdString())));
    }

    void okButtonAndEnterGiveModalResultOne() {
        QTimer::singleShot(0, box_.get(), [this] { box_->OKButton->click(); });
        QCOMPARE(box_->ShowModal(), TAboutBox::kResultOk);
        QTimer::singleShot(0, box_.get(), [this] { QTest::keyClick(box_->Panel1, Qt::Key_Return); });
        QCOMPARE(box_->ShowModal(), TAboutBox::kResultOk);
    }

    void centredOnTheScreenTheFirstTime() {
        box_->show();
        const QScreen* screen = box_->screen();
        QVERIFY(screen != nullptr);
        QCOMPARE(box_->frameGeometry().center(), screen->geometry().center());
        box_->move(30, 40);
        box_->hide();
        box_->show();
        QCOMPARE(box_->pos(), QPoint(30, 40));
    }
};

QTEST_MAIN(AboutTest)
#include "tst_about.moc"
