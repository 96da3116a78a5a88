// The calculation behind "Berechne" on a 5-minute series of 864 points with many
// excursions, in the four check-box combinations the batch runs.
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

#include "calc/Calculation.h"
#include "calc/Series.h"
#include "windowlogic/StateCalculation.h"
#include "windowlogic/StatisticsDisplay.h"

namespace {

struct Combination {
    bool start;
    bool end;
};
constexpr Combination kBatchOrder[] = {{true, true}, {false, true}, {false, false}, {true, false}};

// A curve of swings from 4 to 14 mmol/L with a few gaps, so that the markers
// find well over a hundred excursions.
std::unique_ptr<zelk::MainState> MakeState() {
    auto state = std::make_unique<zelk::MainState>();
    zelk::MainState& s = *state;
    s.locale = zelk::LocaleInfo::FromId(zelk::kLocaleGerman);
    s.texts = zelk::GermanTexts();
    s.StartHour = 7;
    zelk::DisplaySeries& series = s.series;
    series.HighIndex = zelk::kHighIndex5;
    float sum = 0.0f;
    int count = 0;
    for (int i = 0; i <= series.HighIndex; ++i) {
        float v = 9.0f + 4.5f * static_cast<float>(std::sin(i * 0.45)) + 0.5f * static_cast<float>(std::sin(i * 2.3));
        if (i % 97 == 13) v = 0.0f;  // no value
        series.PointValue[static_cast<size_t>(i)] = v;
        if (v > 0.0f) {
            sum += v;
            ++count;
        }
    }
    series.MeanGlucose = sum / static_cast<float>(count);
    series.SdGlucose = zelk::SeriesStdDev(series);
    zelk::ShowStatistics(s);
    return state;
}

void BM_Calculation(benchmark::State& bench) {
    const auto state = MakeState();
    const zelk::WindowHooks hooks;
    const Combination c = kBatchOrder[bench.range(0)];
    state->cb_Startwert = c.start;
    state->cb_Endwert = c.end;
    for (auto _ : bench) {
        zelk::ResultsCalculation calculation = zelk::CalculationOn(*state, hooks);
        calculation.Button1Click();
        benchmark::DoNotOptimize(state->ce_ZELK.Text.data());
    }
    bench.counters["rows"] = state->PeakRows;
    bench.SetLabel(std::string(c.start ? "S+" : "S-") + (c.end ? "E+" : "E-"));
}
BENCHMARK(BM_Calculation)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);

// The four calculations of one batch file in a row, on the same window state.
void BM_FourCalculations(benchmark::State& bench) {
    const auto state = MakeState();
    const zelk::WindowHooks hooks;
    for (auto _ : bench) {
        for (const Combination& c : kBatchOrder) {
            state->cb_Startwert = c.start;
            state->cb_Endwert = c.end;
            zelk::ResultsCalculation calculation = zelk::CalculationOn(*state, hooks);
            calculation.Button1Click();
            benchmark::DoNotOptimize(state->ce_ZELK.Text.data());
        }
    }
}
BENCHMARK(BM_FourCalculations)->Unit(benchmark::kMicrosecond);

}  // namespace
