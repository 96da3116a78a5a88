#include "ui/dialogs/u_Sensor.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QStyledItemDelegate>
#include <algorithm>

#include "data/Language.h"
#include "data/TextNumber.h"
#include "ui/Fonts.h"
#include "ui/Messages.h"
#include "ui/QtText.h"
#include "ui/WidgetHelpers.h"
#include "ui/Windows.h"
#include "ui/dialogs/u_Sensorgrafik.h"

namespace zelk {
namespace {

// The designed width, or more where the style's arrow button leaves the widest item
// too little room; the box keeps its left edge.
int RasterBoxWidth(const QComboBox& box) {
    constexpr int kDesignedWidth = 41;
    int widest = 0;
    for (int i = 0; i < box.count(); ++i)
        widest = std::max(widest, box.fontMetrics().horizontalAdvance(box.itemText(i)));
    QStyleOptionComboBox option;
    option.initFrom(&box);
    option.editable = true;
    const QSize needed =
        box.style()->sizeFromContents(QStyle::CT_ComboBox, &option, QSize(widest, box.fontMetrics().height()), &box);
    return std::max(kDesignedWidth, needed.width());
}

// The day dialog reads German texts for "de" exactly and English for every other code.
const TextTable& DayDialogTexts(const std::string& language) {
    return IsGermanCode(language) ? GermanTexts() : EnglishTexts();
}

constexpr int kPreviewDays = 5;
constexpr int kDayItemHeight = 13;

// Gives every row of a list the same fixed height.
class FixedRowHeight : public QStyledItemDelegate {
public:
    FixedRowHeight(int height, QObject* parent) : QStyledItemDelegate(parent), height_(height) {}

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.setHeight(height_);
        return size;
    }

private:
    int height_;
};

}  // namespace

Tf_Sensor::Tf_Sensor(MainState& state, QWidget* parent) : QDialog(parent), state_(state) {
    setObjectName(QStringLiteral("f_Sensor"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setWindowModality(Qt::WindowModal);
    const TextTable& de = GermanTexts();
    const FixedTextTable& fixed = FixedTexts();
    setWindowTitle(AnsiText(de.sensorCaption));
    setFont(SansSerifLike());
    setFixedSize(338, 239);
    move(386, 249);

    Button1 = MakeButton(AnsiText(de.sensorButton1), QRect(252, 200, 75, 25), this, "Button1", false);
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });

    lb_Sensor = new QListWidget(this);
    lb_Sensor->setObjectName(QStringLiteral("lb_Sensor"));
    lb_Sensor->setGeometry(56, 8, 137, 181);
    lb_Sensor->setSelectionMode(QAbstractItemView::SingleSelection);
    lb_Sensor->setUniformItemSizes(true);
    lb_Sensor->setItemDelegate(new FixedRowHeight(kDayItemHeight, lb_Sensor));
    connect(lb_Sensor, &QListWidget::itemSelectionChanged, this, [this] {
        const QList<QListWidgetItem*> selected = lb_Sensor->selectedItems();
        Day().lbItemIndex = selected.isEmpty() ? -1 : lb_Sensor->row(selected.front());
    });

    Label1 = MakeLabel(AnsiText(de.sensorLabel1), 8, 8, this, "Label1");
    Label1->setFont(VerdanaLike(13));
    Label1->adjustSize();

    Button2 = MakeButton(AnsiText(de.sensorButton2), QRect(252, 164, 75, 25), this, "Button2", false);
    connect(Button2, &QPushButton::clicked, this, [this] { done(kResultCancel); });

    Label14 = MakeLabel(AnsiText(fixed.sensorRaster), 228, 12, this, "Label14");

    cb_Raster = new QComboBox(this);
    cb_Raster->setObjectName(QStringLiteral("cb_Raster"));
    cb_Raster->setEditable(true);
    cb_Raster->setInsertPolicy(QComboBox::NoInsert);
    cb_Raster->setCompleter(nullptr);
    for (const std::string& item : kRasterItems) cb_Raster->addItem(QString::fromStdString(item));
    cb_Raster->setGeometry(266, 8, RasterBoxWidth(*cb_Raster), 21);
    cb_Raster->setCurrentIndex(0);
    // An item chosen from the list sets text and index; a typed step selects no item,
    // even when it reads like one. So the edit's Enter and focus loss must not look the
    // text up in the list, as the combo box would.
    QLineEdit* rasterEdit = cb_Raster->lineEdit();
    disconnect(rasterEdit, &QLineEdit::returnPressed, cb_Raster, nullptr);
    disconnect(rasterEdit, &QLineEdit::editingFinished, cb_Raster, nullptr);
    connect(cb_Raster, &QComboBox::activated, this, [this](int index) {
        Day().cb_RasterText = ToAnsi(cb_Raster->itemText(index));
        Day().cb_RasterIndex = index;
    });
    connect(rasterEdit, &QLineEdit::textEdited, this, [this](const QString& text) {
        Day().cb_RasterText = ToAnsi(text);
        Day().cb_RasterIndex = -1;
    });

    rg_Art = new QGroupBox(AnsiText(fixed.sensorArt), this);
    rg_Art->setObjectName(QStringLiteral("rg_Art"));
    rg_Art->setGeometry(220, 40, 109, 65);
    rg_ArtMesswerte = new QRadioButton(AnsiText(fixed.sensorMesswerte), rg_Art);
    rg_ArtMesswerte->setGeometry(8, 18, 95, 17);
    rg_ArtMesswerte->setChecked(true);
    rg_ArtVergleichswerte = new QRadioButton(AnsiText(fixed.sensorVergleichswerte), rg_Art);
    rg_ArtVergleichswerte->setGeometry(8, 38, 95, 17);

    Button3 = MakeButton(AnsiText(de.sensorButton3), QRect(252, 120, 75, 25), this, "Button3", false);
    connect(Button3, &QPushButton::clicked, this, [this] { Button3Click(); });

    l_charTag = MakeLabel(AnsiText(de.sensorCharTag), 8, 208, this, "l_charTag");
    QPalette red = l_charTag->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    l_charTag->setPalette(red);

    setTabOrder(Button1, lb_Sensor);
    setTabOrder(lb_Sensor, Button2);
    setTabOrder(Button2, cb_Raster);
    setTabOrder(cb_Raster, Button3);
    RefreshFromState();
}

void Tf_Sensor::showEvent(QShowEvent* event) {
    FormShow();
    RefreshFromState();
    QDialog::showEvent(event);
}

void Tf_Sensor::FormShow() {
    rg_Art->hide();
    Day().NoDateMessage = DayDialogTexts(state_.Sprache).NoDateMessage;
    l_charTag->hide();
}

void Tf_Sensor::Button1Click() {
    DayDialogState& day = Day();
    day.SelectedDate.clear();
    if (day.lb_Sensor.size() == 1) day.lbItemIndex = 0;
    RefreshFromState();
    if (day.lbItemIndex >= 0 && day.lbItemIndex < static_cast<int>(day.lb_Sensor.size())) {
        day.SelectedDate = day.lb_Sensor[static_cast<size_t>(day.lbItemIndex)];
        done(kResultOk);
        return;
    }
    ShowMessage(this, day.NoDateMessage);
}

int Tf_Sensor::TimeToMinutes(std::string_view clockText) {
    const auto pair = [clockText](size_t from) {
        return from < clockText.size() ? TextToIntDef(clockText.substr(from, 2), 0) : 0;
    };
    return pair(0) * 60 + pair(3);
}

void Tf_Sensor::Button3Click() {
    Tf_Sensorgrafik* chart = f_Sensorgrafik;
    if (!chart) return;
    chart->ClearSeries();
    chart->SetTitle(AnsiText(DayDialogTexts(state_.Sprache).sensorChartTitle));
    const DayDialogState& day = Day();
    const int days = std::min(kPreviewDays, static_cast<int>(day.lb_Sensor.size()));
    SensorTab& readings = state_.sensorTab;
    for (int i = 0; i < days; ++i) {
        readings.SetFilterDay(LowerAscii(day.lb_Sensor[static_cast<size_t>(i)]));
        readings.SetFiltered(true);
        readings.First();
        QList<QPointF> points;
        const QString title = AnsiText(readings.CurDatum());
        for (; !readings.Eof(); readings.Next())
            points.append(QPointF(TimeToMinutes(readings.CurZeit()) / 60.0, readings.CurBgWert()));
        chart->ShowSeries(i, title, points);
    }
    for (int i = days; i < Tf_Sensorgrafik::kSeriesCount; ++i) chart->HideSeries(i);
    chart->FitValueAxis();
    chart->resize(Tf_Sensorgrafik::kWidth, Tf_Sensorgrafik::kHeight);
    chart->show();
    chart->raise();
    chart->activateWindow();
}

void Tf_Sensor::ApplyTexts(const TextTable& t) {
    setWindowTitle(AnsiText(t.sensorCaption));
    Label1->setText(AnsiText(t.sensorLabel1));
    Label1->adjustSize();
    Button3->setText(AnsiText(t.sensorButton3));
    Button2->setText(AnsiText(t.sensorButton2));
    Button1->setText(AnsiText(t.sensorButton1));
    l_charTag->setText(AnsiText(t.sensorCharTag));
    l_charTag->adjustSize();
}

void Tf_Sensor::RefreshFromState() {
    const DayDialogState& day = Day();
    const QSignalBlocker listBlocker(lb_Sensor);
    bool same = lb_Sensor->count() == static_cast<int>(day.lb_Sensor.size());
    for (int i = 0; same && i < lb_Sensor->count(); ++i)
        same = lb_Sensor->item(i)->text() == AnsiText(day.lb_Sensor[static_cast<size_t>(i)]);
    if (!same) {
        lb_Sensor->clear();
        for (const std::string& entry : day.lb_Sensor) lb_Sensor->addItem(AnsiText(entry));
    }
    const int row = day.lbItemIndex < lb_Sensor->count() ? day.lbItemIndex : -1;
    const QList<QListWidgetItem*> selected = lb_Sensor->selectedItems();
    const int shown = selected.isEmpty() ? -1 : lb_Sensor->row(selected.front());
    if (shown != row) {
        if (row >= 0)
            lb_Sensor->setCurrentRow(row);
        else
            lb_Sensor->clearSelection();
    }

    const QSignalBlocker comboBlocker(cb_Raster);
    if (cb_Raster->currentIndex() != day.cb_RasterIndex && day.cb_RasterIndex >= 0)
        cb_Raster->setCurrentIndex(day.cb_RasterIndex);
    const QString text = AnsiText(day.cb_RasterText);
    if (cb_Raster->currentText() != text) cb_Raster->setEditText(text);
}

}  // namespace zelk
