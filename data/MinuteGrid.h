#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "data/ClockReadings.h"
#include "data/DateTexts.h"
#include "data/Hooks.h"
#include "data/SensorTab.h"
#include "data/WerteTab.h"

namespace zelk {

// One window of the 360-minute path.
struct ExtremeWindow {
    DateTime timeOfMinimum = 0.0;
    float minimum = 0.0f;
    DateTime timeOfMaximum = 0.0;
    float maximum = 0.0f;
    bool found = false;
};

// The state the grid build reads and writes.
struct GridInput {
    SensorTab& sensorTab;
    WerteTab& werteTab;
    const MonthList& months;
    const std::string& selectedDate;  // the chosen day as listed
    const std::string& rasterText;    // text of cb_Raster
    int rasterIndex = 0;              // selected item of cb_Raster, -1 for none
    const std::string& language;      // for the text of a refused step
    std::string& currentDateText;
    std::string& currentTimeText;
    int& startHour;
    int& gridStep;
};

// Calls out of the build: once the start hour is set (the background), and after
// the grid is filled (series, statistics, day label, decimal point).
struct GridCallbacks {
    std::function<void()> startHourSet;
    std::function<void()> gridFilled;
};

// The start hour from a time text: its first two characters, 0 when they are not a number.
int FirstReadingHour(std::string_view timeText);

// The grid step of a cb_Raster text: the text as an integer, 5 when it is none.
int GridStepOf(std::string_view rasterText);

class MinuteGrid {
public:
    MinuteGrid(GridInput& input, const WindowHooks& hooks, GridCallbacks callbacks = {});

    // Resamples the chosen day onto the 4320-minute grid. Raises ZelkError for a
    // refused grid step (nothing changes) and ConversionError for a date or clock
    // text that does not read (the build stops there).
    void BuildMinuteGrid();

    float WindowMean(std::string_view dayText, int t, int step);
    void WindowExtremes(std::string_view dayText, int t, ExtremeWindow& record, int step);

private:
    // A window of the means: its day (days after the chosen one) and first and last clock time.
    struct MeanWindow {
        int days;
        int firstHour;
        int firstMinute;
        int lastHour;
        int lastMinute;
    };
    MeanWindow MeanWindowAt(int t, int step) const;
    const std::string& DayText(std::string_view base, int days);
    void FillByMeans(int step, EventPump& pump);
    // The readings of the days the windows touch, when all their times are "hh:mm";
    // false otherwise, or when a day's text does not read.
    bool LoadClockReadings(std::string_view dayText, std::array<ClockReadings, 4>& days);
    void FillByExtremes(int step, EventPump& pump);
    // Adds the valued readings from row `pos` on that lie in the window to taken_.
    void CollectReadings(int pos, long long firstMinute, long long lastMinute);
    bool ReadDay(std::string_view datum, DateTime& day) const;

    GridInput& in_;
    const WindowHooks& hooks_;
    GridCallbacks callbacks_;
    DateTexts dates_;
    // Shifted day texts of the current base text, computed when first needed.
    std::string cacheBase_;
    std::optional<std::string> shifted_[4];
    int hint_ = 0;  // where the previous window's rows ended
    struct TimedReading {
        long long minute;
        int pos;
        DateTime day;
        int clock;
        double value;
    };
    std::vector<TimedReading> taken_;  // readings of the current extremes window
};

}  // namespace zelk
