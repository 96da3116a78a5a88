#include "data/MinuteGrid.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <exception>
#include <vector>

#include "data/ClockReadings.h"
#include "data/Errors.h"
#include "data/Language.h"
#include "data/TextNumber.h"

namespace zelk {
namespace {

long long MinutesOf(DateTime value) { return std::llround(value * kMinutesPerDay); }

std::string RefusedStepText(std::string_view language, std::string_view rasterText) {
    if (IsEnglishCode(language))
        return "Invalid grid step '" + std::string(rasterText) + "': allowed are 1 to 4320 minutes.";
    return "Ung\xFCltiges Raster '" + std::string(rasterText) + "': erlaubt sind 1 bis 4320 Minuten.";
}

}  // namespace

int FirstReadingHour(std::string_view timeText) { return TextToIntDef(timeText.substr(0, 2), 0); }

int GridStepOf(std::string_view rasterText) { return TextToIntDef(rasterText, 5); }

MinuteGrid::MinuteGrid(GridInput& input, const WindowHooks& hooks, GridCallbacks callbacks)
    : in_(input), hooks_(hooks), callbacks_(std::move(callbacks)), dates_(input.months) {}

const std::string& MinuteGrid::DayText(std::string_view base, int days) {
    if (CompareTexts(base, cacheBase_) != 0) {
        cacheBase_.assign(base);
        for (auto& entry : shifted_) entry.reset();
    }
    const int n = days < 0 ? 0 : (days > 3 ? 3 : days);
    auto& entry = shifted_[n];
    if (!entry) entry = n == 0 ? std::string(base) : dates_.NextDayText(DayText(base, n - 1));
    return *entry;
}

void MinuteGrid::BuildMinuteGrid() {
    const int step = GridStepOf(in_.rasterText);
    if (step <= 0 || step > kGridMinutes) throw ZelkError(RefusedStepText(in_.language, in_.rasterText));

    SensorTab& sensor = in_.sensorTab;
    sensor.RemoveFilter();
    sensor.SetFilterDay(LowerAscii(in_.selectedDate));
    sensor.SetFiltered(true);
    sensor.First();
    while (!sensor.Eof() && !(sensor.CurBgWert() > 0.0)) sensor.Next();

    in_.currentDateText.assign(sensor.CurDatum());
    in_.currentTimeText.assign(sensor.CurZeit());
    const int hour = FirstReadingHour(in_.currentTimeText);
    if (hour < 0 || hour > 23) {
        sensor.RemoveFilter();
        throw ConversionError("'" + in_.currentTimeText + "' does not give a start hour from 00 to 23");
    }
    in_.startHour = hour;
    if (callbacks_.startHourSet) callbacks_.startHourSet();

    sensor.RemoveFilter();
    in_.werteTab.ClearGlukose();
    in_.gridStep = step;
    hint_ = 0;
    EventPump pump(hooks_);
    if (in_.rasterIndex >= 4)
        FillByExtremes(step, pump);
    else
        FillByMeans(step, pump);

    if (callbacks_.gridFilled) callbacks_.gridFilled();
}

void MinuteGrid::FillByMeans(int step, EventPump& pump) {
    const std::string dayText = in_.currentDateText;
    std::array<ClockReadings, 4> days;
    const bool byClock = LoadClockReadings(dayText, days);
    for (int t = 0; t < kGridMinutes; t += step) {
        float v = 0.0f;
        if (byClock) {
            const MeanWindow w = MeanWindowAt(t, step);
            v = days[static_cast<size_t>(std::min(w.days, 3))].NextWindowMean(w.firstHour * 100 + w.firstMinute,
                                                                              w.lastHour * 100 + w.lastMinute);
        } else {
            v = WindowMean(dayText, t, step);
        }
        const int row = in_.werteTab.FindKey(t);
        if (row >= 0) in_.werteTab.SetGlukose(row, v);
        pump.Run();
    }
}

bool MinuteGrid::LoadClockReadings(std::string_view dayText, std::array<ClockReadings, 4>& days) {
    const SensorRowStore& store = in_.sensorTab.Store();
    const int lastDay = std::min(3, (kGridMinutes - 1 + in_.startHour * 60) / kMinutesPerDay);
    try {
        for (int n = 0; n <= lastDay; ++n)
            if (!days[static_cast<size_t>(n)].Load(store, DayText(dayText, n))) return false;
    } catch (const std::exception&) {
        return false;  // the window that needs the day meets the same error
    }
    return true;
}

void MinuteGrid::FillByExtremes(int step, EventPump& pump) {
    const std::string dayText = in_.currentDateText;
    std::vector<ExtremeWindow> records(static_cast<size_t>(kGridMinutes / step + 1));
    size_t count = 0;
    for (int t = 0; t < kGridMinutes; t += step) WindowExtremes(dayText, t, records[count++], step);

    const float d1 = static_cast<float>(static_cast<long double>(records[0].maximum) - records[1].minimum);
    const float d2 = static_cast<float>(static_cast<long double>(records[1].maximum) - records[0].minimum);
    bool takeMinimum = d1 >= d2;
    for (size_t i = 0; i < count; ++i) {
        const ExtremeWindow& r = records[i];
        if (r.found) {
            const int minute =
                dates_.GridMinuteOf(takeMinimum ? r.timeOfMinimum : r.timeOfMaximum, in_.selectedDate, in_.startHour);
            const int row = in_.werteTab.FindKey(minute);
            if (row >= 0) in_.werteTab.SetGlukose(row, takeMinimum ? r.minimum : r.maximum);
        }
        takeMinimum = !takeMinimum;
        pump.Run();
    }
}

MinuteGrid::MeanWindow MinuteGrid::MeanWindowAt(int t, int step) const {
    const SplitTime at = SplitMinutes(t + in_.startHour * 60);
    MeanWindow window{at.days, at.hours, at.minutes, at.hours, at.minutes + step - 1};
    window.lastHour += window.lastMinute / 60;
    window.lastMinute %= 60;
    // A window never runs into the next day.
    if (window.lastHour >= 24) {
        window.lastHour = 23;
        window.lastMinute = 59;
    }
    return window;
}

float MinuteGrid::WindowMean(std::string_view dayText, int t, int step) {
    const MeanWindow window = MeanWindowAt(t, step);
    const std::string& day = DayText(dayText, window.days);
    const ClockText first(window.firstHour, window.firstMinute);
    const ClockText last(window.lastHour, window.lastMinute);

    const SensorRowStore& store = in_.sensorTab.Store();
    WindowSum sum;
    SensorRowStore::Walker walker = store.WalkFrom(day, first.View(), hint_);
    for (; !walker.AtEnd(); walker.Next()) {
        const SensorRow& row = walker.Row();
        if (CompareTexts(row.datum.View(), day) != 0) break;
        if (CompareTexts(row.zeit.View().substr(0, 5), last.View()) > 0) break;
        sum.Add(row);
    }
    hint_ = walker.Pos();
    return sum.Mean();
}

void MinuteGrid::WindowExtremes(std::string_view dayText, int t, ExtremeWindow& record, int step) {
    record.found = false;
    record.minimum = 0.0f;
    record.maximum = 0.0f;
    SplitTime at = SplitMinutes(t + in_.startHour * 60);
    std::string day = DayText(dayText, at.days);
    const std::string first = TimeTextCarry(at.hours, at.minutes, at.days);

    const SensorRowStore& store = in_.sensorTab.Store();
    int pos = store.LowerBound(day, first);
    if (pos >= store.Size()) return;
    record.minimum = 1000.0f;
    record.maximum = 0.0f;

    const int firstClock = ClockMinutes(first);
    const long long firstMinute = MinutesOf(dates_.ParseDayText(day)) + firstClock;
    const long long lastMinute = firstMinute + step - 1;
    // One search for each calendar day the window touches, counted in minutes: the
    // following day's text may read as another century (year 99 to year 00).
    const int days = (firstClock + step - 1) / kMinutesPerDay + 1;
    taken_.clear();
    for (int k = 0;;) {
        CollectReadings(pos, firstMinute, lastMinute);
        if (++k >= days) break;
        day = dates_.NextDayText(day);
        pos = store.LowerBound(day, {});
    }
    // Time order, the same minute in index order; a row two searches reached counts once.
    std::sort(taken_.begin(), taken_.end(), [](const TimedReading& a, const TimedReading& b) {
        return a.minute != b.minute ? a.minute < b.minute : a.pos < b.pos;
    });
    taken_.erase(std::unique(taken_.begin(), taken_.end(),
                             [](const TimedReading& a, const TimedReading& b) { return a.pos == b.pos; }),
                 taken_.end());
    for (const TimedReading& reading : taken_) {
        // The stored double is compared with the single-precision extreme.
        if (reading.value < record.minimum) {
            record.minimum = static_cast<float>(reading.value);
            record.timeOfMinimum = AddClockMinutes(reading.day, reading.clock);
        }
        if (reading.value > record.maximum) {
            record.maximum = static_cast<float>(reading.value);
            record.timeOfMaximum = AddClockMinutes(reading.day, reading.clock);
        }
        record.found = true;
    }
}

void MinuteGrid::CollectReadings(int pos, long long firstMinute, long long lastMinute) {
    const SensorRowStore& store = in_.sensorTab.Store();
    // Rows are read in index order across changes of Datum, each at its own point in
    // time; the walk ends at the first row after the window or a date that does not read.
    // A whole date text before the window (another month of the same day number, say)
    // is passed over with one search.
    int at = pos;
    while (at < store.Size()) {
        std::string_view datum;
        DateTime rowDay = 0.0;
        long long dayMinute = 0;
        bool passedOver = false;
        for (SensorRowStore::Walker walker(store, at); !walker.AtEnd(); walker.Next()) {
            const SensorRow& row = walker.Row();
            if (datum.empty() || row.datum.View() != datum) {
                datum = row.datum.View();
                if (!ReadDay(datum, rowDay)) return;
                dayMinute = MinutesOf(rowDay);
                if (dayMinute + kMinutesPerDay <= firstMinute) {
                    at = store.UpperBoundDatum(datum);
                    passedOver = true;
                    break;
                }
            }
            const int clock = ClockMinutes(row.zeit.View());
            const long long minute = dayMinute + clock;
            if (minute > lastMinute) return;
            if (minute < firstMinute || row.bgNull || !(row.bgWert > 0.0)) continue;
            taken_.push_back({minute, walker.Pos(), rowDay, clock, row.bgWert});
        }
        if (!passedOver) return;
    }
}

bool MinuteGrid::ReadDay(std::string_view datum, DateTime& day) const {
    try {
        day = dates_.ParseDayText(datum);
        return true;
    } catch (const ConversionError&) {
        return false;  // a text that is no date holds no reading of the window
    }
}

}  // namespace zelk
