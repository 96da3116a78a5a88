// Import of generated sensor files (100,000 to 10 million readings, in file order and
// shuffled), and the minute grid of one day.
#include <benchmark/benchmark.h>

#include <malloc.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "data/DateTexts.h"
#include "data/MinuteGrid.h"
#include "data/SensorReader.h"
#include "tests/common/ScratchFolder.h"
#include "windowlogic/MainCore.h"

namespace zelk {
namespace {

constexpr int kReadings = 100000;
constexpr int kReadingsPerDay = 288;  // one every five minutes
const char* const kMonths[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// A generated sensor file, written once and removed at the end of the run: one reading
// every five minutes from 1 January 2009, in file order or with its lines shuffled.
class SensorFile {
public:
    SensorFile(int readings, bool shuffled)
        : path_(folder_.File(std::to_string(readings) + (shuffled ? "s" : "") + ".txt")) {
        // Lines are written from their numbers, so that making a large file leaves no
        // millions of freed strings behind in the heap the import then works in.
        std::vector<std::string> dates;
        DateTime day = EncodeDate(2009, 1, 1);
        for (int i = 0; i < readings; i += kReadingsPerDay) {
            if (i > 0) day += 1;
            int year = 0, month = 0, dayOfMonth = 0;
            DecodeDate(day, year, month, dayOfMonth);
            dates.push_back(TwoDigits(dayOfMonth) + "-" + kMonths[month - 1] + "-" + TwoDigits(year % 100));
        }
        days_ = dates;
        std::vector<int> order(static_cast<size_t>(readings));
        for (int i = 0; i < readings; ++i) order[static_cast<size_t>(i)] = i;
        if (shuffled) std::shuffle(order.begin(), order.end(), std::mt19937(20091231));
        std::ofstream out(path_, std::ios::binary);
        out << "ICode_BENCH0001\r\nIndex\tDate\tTime\tSample\tSensor Value\r\n";
        char line[64];
        for (const int i : order) {
            const int minute = (i % kReadingsPerDay) * 5;
            const int tenths = 40 + (i * 37) % 120;
            const int length = std::snprintf(line, sizeof line, "%d\t%s\t%02d:%02d\t%d,%d\r\n", i + 1,
                                             dates[static_cast<size_t>(i / kReadingsPerDay)].c_str(), minute / 60,
                                             minute % 60, tenths / 10, tenths % 10);
            out.write(line, length);
        }
    }
    const std::string& Path() const { return path_; }
    // A day in the middle of the file, as the day list spells it.
    const std::string& MiddleDay() const { return days_[days_.size() / 2]; }

private:
    zelk::test::ScratchFolder folder_{"zelk_bench"};
    std::string path_;
    std::vector<std::string> days_;
};

const SensorFile& FileOf(int readings, bool shuffled) {
    static std::map<std::pair<int, bool>, std::unique_ptr<SensorFile>> files;
    auto& file = files[{readings, shuffled}];
    if (!file) file = std::make_unique<SensorFile>(readings, shuffled);
    return *file;
}

const SensorFile& TheFile() { return FileOf(kReadings, false); }

const std::string kWrongFile = "Falsche Sensordatei!";
const std::string kImportError = "Fehler beim Import der Sensordaten! ";

// What the reader fills.
struct Readings {
    SensorTab sensorTab;
    std::vector<std::string> days;
    std::string pid, date, time;
    SensorImport target{sensorTab, days, pid, date, time, kWrongFile, kImportError, 0, ','};
};

size_t HeapInUse() { return ::mallinfo2().uordblks; }

// Arguments: readings, 1 for shuffled lines, 1 when a listener follows the readings
// as the table window's model does. Reports lines a second and heap bytes a reading.
void BM_ImportSensorFile(benchmark::State& state) {
    const int readings = static_cast<int>(state.range(0));
    const SensorFile& file = FileOf(readings, state.range(1) != 0);
    std::string lastMessage;
    const WindowHooks hooks{[&](const std::string& text) { lastMessage = text; }, [] {}};
    double bytesPerReading = 0.0;
    {
        const size_t before = HeapInUse();
        Readings fresh;
        ReadSensorFile(file.Path(), fresh.target, hooks);
        bytesPerReading = static_cast<double>(HeapInUse() - before) / readings;
    }
    Readings target;
    long long changes = 0;
    if (state.range(2) != 0) target.sensorTab.Subscribe([&changes](const DatasetChange&) { ++changes; });
    for (auto _ : state) {
        ReadSensorFile(file.Path(), target.target, hooks);
        benchmark::DoNotOptimize(target.sensorTab.TotalRows());
    }
    if (!lastMessage.empty() || target.sensorTab.TotalRows() != readings) state.SkipWithError("import failed");
    benchmark::DoNotOptimize(changes);
    state.counters["lines/s"] =
        benchmark::Counter(static_cast<double>(readings), benchmark::Counter::kIsIterationInvariantRate);
    state.counters["bytes/reading"] = bytesPerReading;
}
BENCHMARK(BM_ImportSensorFile)
    ->Args({kReadings, 0, 0})
    ->Args({kReadings, 0, 1})
    ->Args({1000000, 0, 0})
    ->Args({1000000, 1, 0})
    ->Args({10000000, 0, 0})
    ->Args({10000000, 1, 0})
    ->Unit(benchmark::kMillisecond)
    ->MinTime(1.0);

// The grid of one day of the imported file, for the step and item given.
void BM_BuildMinuteGrid(benchmark::State& state) {
    const SensorFile& file = TheFile();
    Readings readings;
    ReadSensorFile(file.Path(), readings.target, WindowHooks{});
    SensorTab& sensorTab = readings.sensorTab;

    WerteTab werteTab;
    std::array<float, 48> demo{};
    werteTab.CreateWithDemo(demo);
    const MonthList months = BuildMonthList("en", LocaleInfo::FromId(kLocaleUsEnglish));
    const std::string selected = file.MiddleDay();
    const std::string rasterText = std::to_string(state.range(0));
    const std::string language = "de";
    std::string currentDate, currentTime;
    int startHour = 0, gridStep = 5;
    GridInput input{sensorTab, werteTab,    months,      selected,  rasterText, static_cast<int>(state.range(1)),
                    language,  currentDate, currentTime, startHour, gridStep};
    const WindowHooks hooks{nullptr, [] {}};
    for (auto _ : state) {
        MinuteGrid grid(input, hooks);
        grid.BuildMinuteGrid();
    }
    int written = 0;
    for (int row = 0; row < werteTab.RowCount(); ++row) written += werteTab.Glukose(row) > 0.0;
    if (written == 0) state.SkipWithError("empty grid");
    state.counters["values"] = written;
}
BENCHMARK(BM_BuildMinuteGrid)->Args({5, 0})->Args({360, 4})->Unit(benchmark::kMicrosecond);

// The same through the main window's logic without drawing: grid, series and statistics.
void BM_MainCoreGrid(benchmark::State& state) {
    MainCore core(LocaleInfo::FromId(kLocaleUsEnglish));
    core.StartUp("en");
    core.ReadSensorFile(TheFile().Path());
    MainState& s = core.State();
    s.f_Sensor.SelectedDate = TheFile().MiddleDay();
    s.f_Sensor.SetRasterText(std::to_string(state.range(0)));
    for (auto _ : state) core.BuildMinuteGrid();
    if (s.l_Datum != TheFile().MiddleDay()) state.SkipWithError("grid not built");
}
BENCHMARK(BM_MainCoreGrid)->Arg(5)->Arg(360)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace zelk
