#pragma once

#include <functional>
#include <string>

#include "data/Hooks.h"
#include "data/SensorReader.h"
#include "windowlogic/MainState.h"

namespace zelk {

// The window's own parts of the start-up.
struct StartUpSteps {
    std::function<void()> language;  // settings and language texts
    std::function<void()> layout;    // plot and background, then series and statistics
};

// What the main window supplies to the logic: the message box, the event pump,
// the plot drawing and the status bar.
struct MainHooks : WindowHooks {
    std::function<void()> drawBackground;
    std::function<void(const CurvePolyline&)> drawCurve;
    std::function<void(const CurvePolyline&)> eraseCurve;
    std::function<void(const std::string&)> setStatusText;  // status panel 1
    std::function<void()> resetProgress;
};

// The main window's logic without widgets: start-up state, import, minute grid,
// series, statistics, calculation and language texts, all on MainState.
class MainCore {
public:
    explicit MainCore(LocaleInfo locale);
    MainCore(const MainCore&) = delete;
    MainCore& operator=(const MainCore&) = delete;

    MainState& State() { return state_; }
    const MainState& State() const { return state_; }
    MainHooks& Hooks() { return hooks_; }

    // The grid width, curve offset and grid step a new window has.
    void SetCreationValues();

    // Start-up steps, in the order StartUpWith runs them.
    void BuildMonthList();
    void WriteHeaderRow();
    void LoadDemoCurve();
    void CreateDatasets();
    void InitScale();
    // The start-up of the window's first showing and of the start without a window:
    // language, month list, header row, demo curve, datasets, scale, layout; l_Datum empty.
    void StartUpWith(const StartUpSteps& steps);
    // Start-up without a window: the language's texts, and for the layout the
    // background hook, series and statistics.
    void StartUp(const std::string& language);

    // The texts of a language, the header row and the language code; the window
    // adds the captions, the title and the background.
    void ApplyLanguage(const std::string& code);

    // Import command without its dialogs: clearing the results, and the reader.
    // A file whose header the reader accepts leaves no day selected.
    void ClearResults();
    SensorFileRead ReadSensorFile(const std::string& path, OtherFiles otherFiles = OtherFiles::Tell);

    // The minute grid of the chosen day, then series, statistics, l_Datum and, in
    // English mode, the decimal point.
    void BuildMinuteGrid();

    float BuildSeries();
    float SeriesStdDev() const;
    void EraseCurve();
    // Series, deviation and statistics in the order the layout runs them.
    void RebuildSeries();

    void ShowStatistics();
    void Button1Click();

private:
    // Columns 0 to 4 of the header row in the current texts, the turning points by `peakFirst`.
    void WriteHeaderTexts(bool peakFirst);

    MainState state_;
    MainHooks hooks_;
};

// The demo curve: 48 hourly values in mmol/L.
extern const std::array<float, 48> kDemoValues;
inline constexpr int kDemoStartHour = 19;

}  // namespace zelk
