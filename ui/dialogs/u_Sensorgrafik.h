#pragma once

#include <QList>
#include <QPointF>
#include <QWidget>
#include <array>

class QChart;
class QChartView;
class QLineSeries;
class QValueAxis;

namespace zelk {

// The preview chart: the readings of up to five days over the hours of the day, one
// line per day. The day dialog fills it; the window is centred on the main window
// the first time it appears and stays where the user puts it afterwards.
class Tf_Sensorgrafik : public QWidget {
    Q_OBJECT
public:
    static constexpr int kSeriesCount = 5;
    static constexpr int kWidth = 870;
    static constexpr int kHeight = 500;

    explicit Tf_Sensorgrafik(const QWidget* centreOn = nullptr);

    QChart* Chart1 = nullptr;
    QChartView* ChartView = nullptr;
    std::array<QLineSeries*, kSeriesCount> Series{};  // Series1 to Series5
    QValueAxis* BottomAxis = nullptr;
    QValueAxis* LeftAxis = nullptr;

    void ClearSeries();
    void SetTitle(const QString& title);
    // Switches series `index` on with these points; without a title the legend shows
    // the series' own name.
    void ShowSeries(int index, const QString& title, const QList<QPointF>& points);
    // Switches a series off, legend entry included.
    void HideSeries(int index);
    // The left axis from 0 to the largest value shown.
    void FitValueAxis();

protected:
    void showEvent(QShowEvent* event) override;

private:
    const QWidget* centreOn_;
    bool placed_ = false;
};

}  // namespace zelk
