#include "ui/dialogs/u_Sensorgrafik.h"

#include <QChart>
#include <QChartView>
#include <QGraphicsLayout>
#include <QLegendMarker>
#include <QLineSeries>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>

#include "ui/Fonts.h"
#include "ui/QtText.h"
#include "windowlogic/TextTables.h"

namespace zelk {
namespace {

struct SeriesLook {
    QColor colour;
    int width;
    Qt::PenStyle style;
};

const std::array<SeriesLook, Tf_Sensorgrafik::kSeriesCount> kLooks = {{
    {QColor(255, 0, 0), 2, Qt::SolidLine},
    {QColor(0, 128, 0), 2, Qt::SolidLine},
    {QColor(0, 0, 65), 2, Qt::SolidLine},
    {QColor(0, 0, 255), 1, Qt::DotLine},
    {QColor(128, 0, 128), 2, Qt::SolidLine},
}};

QString OwnName(int index) { return QStringLiteral("Series%1").arg(index + 1); }

}  // namespace

Tf_Sensorgrafik::Tf_Sensorgrafik(const QWidget* centreOn) : QWidget(nullptr), centreOn_(centreOn) {
    setObjectName(QStringLiteral("f_Sensorgrafik"));
    setWindowTitle(AnsiText(GermanTexts().chartCaption));
    setFont(SansSerifLike());
    resize(kWidth, kHeight);

    Chart1 = new QChart;
    Chart1->setObjectName(QStringLiteral("Chart1"));
    Chart1->setTitle(AnsiText(GermanTexts().sensorChartTitle));
    // The chart fills the whole client area: no outer margin, a white background
    // without a border.
    Chart1->layout()->setContentsMargins(0, 0, 0, 0);
    Chart1->setBackgroundRoundness(0);
    Chart1->setBackgroundBrush(Qt::white);
    Chart1->setBackgroundPen(Qt::NoPen);
    Chart1->setDropShadowEnabled(false);
    Chart1->setPlotAreaBackgroundVisible(false);
    Chart1->legend()->setAlignment(Qt::AlignRight);
    Chart1->legend()->setVisible(true);

    BottomAxis = new QValueAxis(Chart1);
    BottomAxis->setRange(0, 24);
    LeftAxis = new QValueAxis(Chart1);
    LeftAxis->setRange(0, 1);
    Chart1->addAxis(BottomAxis, Qt::AlignBottom);
    Chart1->addAxis(LeftAxis, Qt::AlignLeft);

    for (int i = 0; i < kSeriesCount; ++i) {
        auto* series = new QLineSeries(Chart1);
        series->setObjectName(OwnName(i));
        series->setName(OwnName(i));
        QPen pen(kLooks[static_cast<size_t>(i)].colour, kLooks[static_cast<size_t>(i)].width,
                 kLooks[static_cast<size_t>(i)].style);
        series->setPen(pen);
        series->setPointsVisible(false);
        series->setPointLabelsVisible(false);
        Chart1->addSeries(series);
        series->attachAxis(BottomAxis);
        series->attachAxis(LeftAxis);
        Series[static_cast<size_t>(i)] = series;
    }

    ChartView = new QChartView(Chart1, this);
    ChartView->setObjectName(QStringLiteral("ChartView"));
    ChartView->setFrameShape(QFrame::NoFrame);
    ChartView->setBackgroundBrush(Qt::white);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(ChartView);
}

void Tf_Sensorgrafik::ClearSeries() {
    for (QLineSeries* series : Series) series->clear();
}

void Tf_Sensorgrafik::SetTitle(const QString& title) { Chart1->setTitle(title); }

void Tf_Sensorgrafik::ShowSeries(int index, const QString& title, const QList<QPointF>& points) {
    QLineSeries* series = Series[static_cast<size_t>(index)];
    series->setName(title.isEmpty() ? OwnName(index) : title);
    QList<QPointF> ordered = points;
    std::stable_sort(ordered.begin(), ordered.end(), [](const QPointF& a, const QPointF& b) { return a.x() < b.x(); });
    series->replace(ordered);
    series->setVisible(true);
    for (QLegendMarker* marker : Chart1->legend()->markers(series)) marker->setVisible(true);
}

void Tf_Sensorgrafik::HideSeries(int index) {
    QLineSeries* series = Series[static_cast<size_t>(index)];
    series->setVisible(false);
    for (QLegendMarker* marker : Chart1->legend()->markers(series)) marker->setVisible(false);
}

void Tf_Sensorgrafik::FitValueAxis() {
    double top = 0.0;
    for (const QLineSeries* series : Series) {
        if (!series->isVisible()) continue;
        for (const QPointF& point : series->points()) top = std::max(top, point.y());
    }
    LeftAxis->setRange(0, top > 0.0 ? top : 1.0);
    LeftAxis->applyNiceNumbers();
    if (LeftAxis->min() != 0.0) LeftAxis->setMin(0.0);
}

void Tf_Sensorgrafik::showEvent(QShowEvent* event) {
    if (!placed_ && centreOn_) {
        const QRect around = centreOn_->frameGeometry();
        move(around.x() + (around.width() - width()) / 2, around.y() + (around.height() - height()) / 2);
    }
    placed_ = true;
    QWidget::showEvent(event);
}

}  // namespace zelk
