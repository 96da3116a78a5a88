#include "ui/dialogs/About.h"

#include <QCoreApplication>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <iterator>

#include "ui/Fonts.h"
#include "ui/Messages.h"
#include "ui/QtText.h"
#include "ui/WidgetHelpers.h"
#include "windowlogic/TextTables.h"
#include "windowlogic/VersionInfo.h"

namespace zelk {
namespace {

// A label of fixed size with its text centred.
QLabel* MakeCentredLabel(const QString& text, const QRect& place, QWidget* parent, const char* name) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(place);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    return label;
}

// The program's icon: a glucose curve over its target band, 32 x 32 pixels in the
// sixteen standard colours.
QPixmap ProgramIconPicture() {
    QImage image(32, 32, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter paint(&image);
    paint.setRenderHint(QPainter::Antialiasing, false);
    paint.fillRect(2, 13, 28, 8, QColor(0, 255, 0));  // the target band
    paint.setPen(QColor(192, 192, 192));
    for (int x = 8; x < 30; x += 6) paint.drawLine(x, 2, x, 29);
    paint.setPen(QPen(QColor(0, 0, 255), 2));
    const QPoint curve[] = {{3, 24}, {8, 9}, {12, 19}, {17, 5}, {22, 22}, {26, 14}, {29, 17}};
    paint.drawPolyline(curve, static_cast<int>(std::size(curve)));
    paint.setPen(QColor(0, 0, 128));
    paint.drawRect(0, 0, 31, 31);
    paint.end();
    return QPixmap::fromImage(image);
}

}  // namespace

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("AboutBox"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    const FixedTextTable& t = FixedTexts();
    setWindowTitle(AnsiText(t.aboutCaption));
    setFont(VerdanaLike(11));
    QPalette black = palette();
    black.setColor(QPalette::WindowText, Qt::black);
    setPalette(black);
    setFixedSize(298, 209);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(8, 8, 281, 161);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel1->setLineWidth(1);
    QPalette sky = Panel1->palette();
    sky.setColor(QPalette::Window, kSkyBlue);
    Panel1->setPalette(sky);
    Panel1->setAutoFillBackground(true);
    Panel1->setFocusPolicy(Qt::StrongFocus);

    OKButton = new QPushButton(AnsiText(t.aboutOk), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setGeometry(118, 178, 65, 26);
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, [this] { done(kResultOk); });

    ProgramIcon = new QLabel(Panel1);
    ProgramIcon->setObjectName(QStringLiteral("ProgramIcon"));
    ProgramIcon->setGeometry(24, 16, 41, 41);
    ProgramIcon->setPixmap(ProgramIconPicture().scaled(41, 41, Qt::KeepAspectRatio, Qt::FastTransformation));

    ProductName = MakeLabel(QString(), 105, 12, Panel1, "ProductName");
    QFont bold = VerdanaLike(13);
    bold.setBold(true);
    ProductName->setFont(bold);

    Comments = MakeLabel(AnsiText(t.aboutComments), 72, 40, Panel1, "Comments");
    Comments->setWordWrap(true);
    Label1 = MakeCentredLabel(AnsiText(t.aboutLabel1), QRect(88, 96, 120, 13), Panel1, "Label1");
    Label2 = MakeCentredLabel(AnsiText(t.aboutLabel2), QRect(88, 112, 120, 13), Panel1, "Label2");
    Label3 = MakeCentredLabel(AnsiText(t.aboutLabel3), QRect(88, 128, 120, 13), Panel1, "Label3");
    l_VersionsNummer = MakeLabel(QString(), 208, 40, Panel1, "l_VersionsNummer");
    Label4 = MakeLabel(AnsiText(t.aboutLabel4), 112, 36, Panel1, "Label4");
    Label5 = MakeLabel(AnsiText(t.aboutLabel5), 126, 40, Panel1, "Label5");
    l_Datum = MakeLabel(QString(), 120, 56, Panel1, "l_Datum");

    setTabOrder(Panel1, OKButton);
}

QString TAboutBox::ProgramFile() const {
    return programFile_.isEmpty() ? QCoreApplication::applicationFilePath() : programFile_;
}

void TAboutBox::FormShow() {
    const std::string file = ProgramFile().toLocal8Bit().toStdString();
    l_VersionsNummer->setText(AnsiText(GetVersionString(file)));
    l_VersionsNummer->adjustSize();
    ProductName->setText(ApplicationTitle());
    ProductName->adjustSize();
    l_Datum->setText(QString::fromStdString(GetFileDateString(file)));
    l_Datum->adjustSize();
}

void TAboutBox::showEvent(QShowEvent* event) {
    FormShow();
    if (!placed_) {
        // Centred on the screen the first time; later showings keep the place.
        if (const QScreen* where = screen()) {
            QRect frame = frameGeometry();
            frame.moveCenter(where->geometry().center());
            move(frame.topLeft());
        }
        placed_ = true;
    }
    QDialog::showEvent(event);
    Panel1->setFocus();
}

}  // namespace zelk
