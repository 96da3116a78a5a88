#pragma once

#include <array>
#include <string>
#include <vector>

#include "calc/BatchState.h"
#include "calc/Markers.h"
#include "calc/Series.h"
#include "components/NumericEdit.h"
#include "components/StringGrid.h"
#include "data/DateTexts.h"
#include "data/Locale.h"
#include "data/SensorTab.h"
#include "data/WerteTab.h"
#include "windowlogic/TextTables.h"

namespace zelk {

inline constexpr int kResultColumns = 6;
inline constexpr int kResultRowsAtStart = 5;

// The items of the grid-step list of the day dialog.
inline const std::array<std::string, 5> kRasterItems = {"5", "15", "30", "60", "360"};

// The day dialog's state that the rest of the program reads and writes.
struct DayDialogState {
    std::vector<std::string> lb_Sensor;  // the days of the file
    int lbItemIndex = -1;                // selected entry, -1 for none
    std::string SelectedDate;            // the chosen day, as listed
    std::string cb_RasterText = "5";     // text of the grid-step list
    int cb_RasterIndex = 0;              // its selected item, -1 for a typed text
    std::string NoDateMessage;

    // Sets the step text; a text equal to an item selects that item, any other text none.
    void SetRasterText(const std::string& text);
};

// The fields of the main window that the program's logic reads and writes. The
// window shows them; the calculation, the reader and the batch work on them alone.
struct MainState {
    MainState() = default;
    MainState(const MainState&) = delete;
    MainState& operator=(const MainState&) = delete;

    LocaleInfo locale;

    SensorTab sensorTab;
    WerteTab werteTab;

    // Path of the settings file, set when the settings are loaded
    std::string IniPath;

    // Language
    std::string Sprache;
    TextTable texts;
    MonthList monthList;

    // Menu check marks
    bool de1 = true;
    bool en1 = false;
    bool N5minRaster1 = false;
    bool N15minRaster1 = true;
    bool Breitbild1 = false;
    bool Breitbild1Enabled = false;

    // Main window components
    NumericEdit ce_PID{{}, 0, 9, FloatFormat::Fixed, Alignment::Center};
    NumericEdit ce_Mittelwert{{}, 2, 4, FloatFormat::Fixed, Alignment::RightJustify};
    NumericEdit ce_StdAbw{{}, 2, 4, FloatFormat::Fixed, Alignment::RightJustify};
    NumericEdit ce_ZELK{{}, 1, 4, FloatFormat::Fixed, Alignment::RightJustify};
    StringGrid csg_Berechnung{kResultColumns, kResultRowsAtStart};
    bool cb_Startwert = true;
    bool cb_Endwert = true;
    std::string l_Datum;
    std::string Label4Caption = "mmol/L";

    // The reader's last parsed texts
    std::string CurrentDateText;
    std::string CurrentTimeText;

    // Other windows' components read as settings
    DayDialogState f_Sensor;
    int rg_Import = 0;   // 0 mmol/l, anything else mg/dl
    int rg_Anzeige = 0;  // 0 mmol/l, anything else mg/dl

    // Grid and plot
    int StartHour = 0;
    int GridStep = 5;
    int X_Raster = kRaster15;
    float YScale = 0.0f;
    int TargetLowY = 0;
    int TargetHighY = 0;
    std::array<float, 48> DemoValue{};

    // Series and calculation
    DisplaySeries series;
    ExcursionMarkers markers{series, cb_Startwert};
    bool PeakFirst = false;
    int PeakRows = 0;
    int NadirRows = 0;
    int FirstRowIndex = 0;

    BatchState batch;
};

}  // namespace zelk
