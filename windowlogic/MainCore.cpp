#include "windowlogic/MainCore.h"

#include <cmath>

#include "calc/Calculation.h"
#include "data/MinuteGrid.h"
#include "data/SensorReader.h"
#include "windowlogic/StateCalculation.h"
#include "windowlogic/StatisticsDisplay.h"

namespace zelk {

// clang-format off
const std::array<float, 48> kDemoValues = {
    18.5f, 15.1f, 13.9f, 12.7f, 11.6f, 16.7f, 17.9f, 16.5f, 16.5f, 15.9f, 16.5f, 16.5f,
    15.9f, 14.4f, 18.9f, 24.0f, 18.5f, 13.1f, 7.6f,  15.1f, 13.7f, 8.7f,  11.4f, 10.4f,
    9.3f,  17.6f, 14.7f, 11.8f, 9.6f,  13.8f, 17.9f, 16.2f, 14.4f, 13.3f, 12.1f, 10.9f,
    10.9f, 12.9f, 15.4f, 20.8f, 13.4f, 5.1f,  2.3f,  12.7f, 12.0f, 4.4f,  8.9f,  7.8f};
// clang-format on

MainCore::MainCore(LocaleInfo locale) {
    state_.locale = std::move(locale);
    SetCreationValues();
}

void MainCore::SetCreationValues() {
    state_.X_Raster = kRaster15;
    state_.series.CurveXOffset = 2;
    state_.GridStep = 5;
}

void MainCore::BuildMonthList() { state_.monthList = zelk::BuildMonthList(state_.Sprache, state_.locale); }

void MainCore::WriteHeaderRow() {
    WriteHeaderTexts(true);
    state_.csg_Berechnung.SetCell(5, 0, state_.texts.AmplitudeHeader);
}

void MainCore::WriteHeaderTexts(bool peakFirst) {
    const TextTable& t = state_.texts;
    StringGrid& grid = state_.csg_Berechnung;
    grid.SetCell(0, 0, t.DayHeader);
    grid.SetCell(1, 0, t.TimeHeader);
    grid.SetCell(3, 0, t.TimeHeader);
    SetTurningPointHeaders(grid, peakFirst, t.PeakHeader, t.NadirHeader);
}

void MainCore::LoadDemoCurve() {
    state_.StartHour = kDemoStartHour;
    state_.DemoValue = kDemoValues;
}

void MainCore::CreateDatasets() {
    state_.werteTab.CreateWithDemo(state_.DemoValue);
    state_.sensorTab.DeleteAll();
    state_.sensorTab.RemoveFilter();
}

void MainCore::InitScale() {
    state_.YScale = 8.0f;
    state_.TargetLowY = static_cast<int>(std::lround(kZeroRow - 3.9L * state_.YScale));
    state_.TargetHighY = static_cast<int>(std::lround(kZeroRow - 8.9L * state_.YScale));
}

void MainCore::StartUpWith(const StartUpSteps& steps) {
    if (steps.language) steps.language();
    BuildMonthList();
    WriteHeaderRow();
    LoadDemoCurve();
    CreateDatasets();
    InitScale();
    if (steps.layout) steps.layout();
    state_.l_Datum.clear();
}

void MainCore::StartUp(const std::string& language) {
    StartUpSteps steps;
    steps.language = [this, &language] { ApplyLanguage(language); };
    steps.layout = [this] {
        if (hooks_.drawBackground) hooks_.drawBackground();
        RebuildSeries();
    };
    StartUpWith(steps);
}

void MainCore::ApplyLanguage(const std::string& code) {
    state_.Sprache = code;
    state_.texts = TextsFor(code);
    state_.f_Sensor.NoDateMessage = state_.texts.NoDateMessage;
    WriteHeaderTexts(state_.PeakFirst);
}

void MainCore::ClearResults() {
    state_.csg_Berechnung.ClearRows(1);
    EraseCurve();
    state_.ce_Mittelwert.Text.clear();
    state_.ce_StdAbw.Text.clear();
    state_.ce_ZELK.Text.clear();
    state_.l_Datum.clear();
    hooks_.ProcessEvents();
}

SensorFileRead MainCore::ReadSensorFile(const std::string& path, OtherFiles otherFiles) {
    SensorImport target{state_.sensorTab,
                        state_.f_Sensor.lb_Sensor,
                        state_.ce_PID.Text,
                        state_.CurrentDateText,
                        state_.CurrentTimeText,
                        state_.texts.WrongFileText,
                        state_.texts.ImportErrorText,
                        state_.rg_Import,
                        state_.locale.decimalSeparator};
    // A file whose header the reader accepts refills the day list, which leaves no
    // entry selected; a refused file keeps list and selection.
    const SensorFileRead outcome = zelk::ReadSensorFile(path, target, hooks_, otherFiles);
    if (outcome == SensorFileRead::Replaced ||
        state_.f_Sensor.lbItemIndex >= static_cast<int>(state_.f_Sensor.lb_Sensor.size()))
        state_.f_Sensor.lbItemIndex = -1;
    return outcome;
}

void MainCore::BuildMinuteGrid() {
    DayDialogState& day = state_.f_Sensor;
    GridInput input{state_.sensorTab,       state_.werteTab,    state_.monthList, day.SelectedDate,
                    day.cb_RasterText,      day.cb_RasterIndex, state_.Sprache,   state_.CurrentDateText,
                    state_.CurrentTimeText, state_.StartHour,   state_.GridStep};
    GridCallbacks callbacks;
    callbacks.startHourSet = [this] {
        if (hooks_.drawBackground) hooks_.drawBackground();
    };
    callbacks.gridFilled = [this] {
        state_.series.MeanGlucose = BuildSeries();
        state_.series.SdGlucose = SeriesStdDev();
        ShowStatistics();
        state_.l_Datum = state_.f_Sensor.SelectedDate;
        if (state_.en1) EditsToPoint(state_);
    };
    MinuteGrid grid(input, hooks_, std::move(callbacks));
    grid.BuildMinuteGrid();
}

float MainCore::BuildSeries() {
    SeriesSettings settings;
    settings.X_Raster = state_.X_Raster;
    settings.YScale = state_.YScale;
    settings.fiveMinuteMenu = state_.N5minRaster1;
    settings.rasterIndex = state_.f_Sensor.cb_RasterIndex;
    const float mean = zelk::BuildSeries(state_.series, state_.werteTab, settings);
    if (hooks_.drawCurve) hooks_.drawCurve(BuildCurvePolyline(state_.series, state_.X_Raster));
    return mean;
}

float MainCore::SeriesStdDev() const { return zelk::SeriesStdDev(state_.series); }

void MainCore::EraseCurve() {
    if (hooks_.eraseCurve) hooks_.eraseCurve(BuildCurvePolyline(state_.series, state_.X_Raster));
}

void MainCore::RebuildSeries() {
    state_.series.MeanGlucose = BuildSeries();
    state_.series.SdGlucose = SeriesStdDev();
    ShowStatistics();
}

void MainCore::ShowStatistics() { zelk::ShowStatistics(state_); }

void MainCore::Button1Click() {
    ResultsCalculation calculation = CalculationOn(state_, hooks_);
    calculation.Button1Click();
}

}  // namespace zelk
