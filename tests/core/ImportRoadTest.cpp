#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestFiles.h"
#include "data/DateTexts.h"
#include "data/Errors.h"
#include "windowlogic/MainCore.h"

namespace zelk {
namespace {

using test::DataLine;
using test::ScratchFile;
using test::UnusedTempPath;

// The main window's logic without a window: start-up, import and grid, with hooks that
// record what the window would be asked to do.
class ImportRoad : public ::testing::Test {
protected:
    explicit ImportRoad(LocaleInfo locale = LocaleInfo::FromId(1031)) : core(std::move(locale)) {}

    void SetUp() override {
        MainHooks& hooks = core.Hooks();
        hooks.showMessage = [this](const std::string& text) { messages.push_back(text); };
        hooks.drawBackground = [this] { calls.push_back("background " + std::to_string(core.State().StartHour)); };
        hooks.drawCurve = [this](const CurvePolyline&) { calls.push_back("curve"); };
        core.StartUp("de");
        calls.clear();
    }

    // Readings every five minutes from 07:42 to the end of the second following day; the
    // month is spelled alike in the German and the English list.
    static std::string SensorFile() {
        std::string text = "ICode_4711\r\nIndex\tDate\tTime\tSample\tSensor Value\r\n";
        int id = 1;
        for (int m = 7 * 60 + 42; m < 3 * 1440; m += 5) {
            const int day = 14 + m / 1440;
            const int clock = m % 1440;
            const std::string value = std::to_string(5 + (m / 60) % 7) + ",5";
            text += DataLine(id++, std::to_string(day) + "-Jun-09", TimeText(clock / 60, clock % 60), value);
        }
        return text;
    }

    SensorFileRead Import(const std::string& bytes) {
        const ScratchFile file(bytes);
        return core.ReadSensorFile(file.Path());
    }

    MainCore core;
    std::vector<std::string> messages;
    std::vector<std::string> calls;
};

TEST_F(ImportRoad, StartUpHoldsTheDemoCurve) {
    const MainState& s = core.State();
    EXPECT_EQ(s.StartHour, 19);
    EXPECT_EQ(s.GridStep, 5);
    ASSERT_EQ(s.werteTab.RowCount(), 4320);
    int nonZero = 0;
    for (int row = 0; row < 4320; ++row) {
        if (s.werteTab.Glukose(row) == 0.0) continue;
        ++nonZero;
        EXPECT_EQ(row % 60, 0);
        EXPECT_LE(row, 2820);
    }
    EXPECT_EQ(nonZero, 48);
    EXPECT_EQ(s.sensorTab.TotalRows(), 0);
    EXPECT_EQ(s.monthList[2], "Mrz");
    EXPECT_EQ(s.l_Datum, "");
    EXPECT_GT(s.series.MeanGlucose, 0.0f);
}

TEST_F(ImportRoad, ImportThenGridForTheChosenDay) {
    Import(SensorFile());
    MainState& s = core.State();
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(s.ce_PID.Text, "4711");
    EXPECT_EQ(s.f_Sensor.lb_Sensor, (std::vector<std::string>{"14-Jun-09", "15-Jun-09", "16-Jun-09"}));
    EXPECT_EQ(s.sensorTab.TotalRows(), 772);

    s.f_Sensor.SelectedDate = s.f_Sensor.lb_Sensor[0];
    s.f_Sensor.SetRasterText("5");
    core.BuildMinuteGrid();
    EXPECT_EQ(s.StartHour, 7);
    EXPECT_EQ(s.CurrentDateText, "14-jun-09");
    EXPECT_EQ(s.CurrentTimeText, "07:42");
    EXPECT_EQ(s.GridStep, 5);
    EXPECT_EQ(s.l_Datum, "14-Jun-09");
    // The background is drawn once the start hour is set, the curve after the grid.
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.front(), "background 7");
    EXPECT_EQ(calls.back(), "curve");
    // 07:42 lies in the window 07:40 to 07:44; 23:57 of the third day in the window
    // from 23:55; the morning of the fourth day has no readings.
    EXPECT_EQ(s.werteTab.Glukose(40), 5.5);
    EXPECT_TRUE(s.werteTab.GlukoseEmpty(42));
    EXPECT_EQ(s.werteTab.Glukose(2 * 1440 + 1435 - 420), 6.5);
    EXPECT_EQ(s.werteTab.Glukose(4315), 0.0);
    EXPECT_FALSE(s.ce_Mittelwert.Text.empty());
    EXPECT_NE(s.ce_Mittelwert.Text.find(','), std::string::npos);
    EXPECT_FALSE(s.sensorTab.Filtered());
}

TEST_F(ImportRoad, EnglishModeTurnsCommasIntoPoints) {
    Import(SensorFile());
    MainState& s = core.State();
    s.en1 = true;
    s.f_Sensor.SelectedDate = "14-jun-09";
    s.f_Sensor.SetRasterText("360");
    core.BuildMinuteGrid();
    EXPECT_EQ(s.GridStep, 360);
    EXPECT_EQ(s.ce_Mittelwert.Text.find(','), std::string::npos);
    EXPECT_NE(s.ce_Mittelwert.Text.find('.'), std::string::npos);
    EXPECT_NE(s.ce_StdAbw.Text.find('.'), std::string::npos);
}

TEST_F(ImportRoad, RefusedStepAndConversionErrorLeaveTheDisplay) {
    Import(SensorFile() + DataLine(9999, "31-feb-09", "10:00", "5"));
    MainState& s = core.State();
    s.f_Sensor.SelectedDate = "14-Jun-09";
    s.f_Sensor.SetRasterText("15");
    core.BuildMinuteGrid();
    const std::string mean = s.ce_Mittelwert.Text;
    calls.clear();

    s.f_Sensor.SetRasterText("0");
    EXPECT_THROW(core.BuildMinuteGrid(), ZelkError);
    EXPECT_TRUE(calls.empty());
    EXPECT_EQ(s.GridStep, 15);

    s.f_Sensor.SelectedDate = "31-feb-09";
    s.f_Sensor.SetRasterText("5");
    EXPECT_THROW(core.BuildMinuteGrid(), ConversionError);
    // The background took the new start hour; series, statistics and l_Datum did not change.
    EXPECT_EQ(calls, std::vector<std::string>{"background 10"});
    EXPECT_EQ(s.l_Datum, "14-Jun-09");
    EXPECT_EQ(s.ce_Mittelwert.Text, mean);
    EXPECT_FALSE(s.sensorTab.Filtered());
}

TEST_F(ImportRoad, FailedImportsKeepThePreviousDays) {
    Import(SensorFile());
    MainState& s = core.State();
    s.f_Sensor.lbItemIndex = 2;
    Import("no header\r\n");
    EXPECT_EQ(messages, std::vector<std::string>{"Falsche Sensordatei!"});
    EXPECT_EQ(s.f_Sensor.lb_Sensor.size(), 3u);
    EXPECT_EQ(s.f_Sensor.lbItemIndex, 2);

    messages.clear();
    core.ReadSensorFile(UnusedTempPath(".txt").string());
    EXPECT_EQ(messages, std::vector<std::string>{"Fehler beim Import der Sensordaten!   "});
    EXPECT_EQ(s.sensorTab.TotalRows(), 772);

    // A shorter list drops a selection past its end.
    messages.clear();
    Import("Sample\tSensor Value\n" + DataLine(1, "01-Jun-09", "08:00", "5"));
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(s.f_Sensor.lb_Sensor, std::vector<std::string>{"01-Jun-09"});
    EXPECT_EQ(s.f_Sensor.lbItemIndex, -1);
}

TEST_F(ImportRoad, AcceptedFileLeavesNoDaySelected) {
    MainState& s = core.State();
    ASSERT_EQ(Import(SensorFile()), SensorFileRead::Replaced);
    s.f_Sensor.lbItemIndex = 1;
    // The same days again: the list is refilled, so nothing stays selected.
    EXPECT_EQ(Import(SensorFile()), SensorFileRead::Replaced);
    EXPECT_EQ(s.f_Sensor.lb_Sensor.size(), 3u);
    EXPECT_EQ(s.f_Sensor.lbItemIndex, -1);

    // An import error after an accepted header has refilled the list too.
    s.f_Sensor.lbItemIndex = 0;
    const std::string header = "Sample\tSensor Value\n";
    EXPECT_EQ(Import(header + DataLine(1, "01-Jun-09", "08:00", "5") + DataLine(2, "02-Jun-09", "08:00", "5") +
                     DataLine(3, "01-Jun-09", "08:00", "6")),
              SensorFileRead::Replaced);
    EXPECT_EQ(messages, std::vector<std::string>{"Fehler beim Import der Sensordaten! 01-Jun-09  08:00"});
    EXPECT_EQ(s.f_Sensor.lb_Sensor, (std::vector<std::string>{"01-Jun-09", "02-Jun-09"}));
    EXPECT_EQ(s.f_Sensor.lbItemIndex, -1);

    // A refused file and one that does not open keep list and selection.
    s.f_Sensor.lbItemIndex = 1;
    EXPECT_EQ(Import("no header\r\n"), SensorFileRead::WrongFile);
    EXPECT_EQ(core.ReadSensorFile(UnusedTempPath(".txt").string()), SensorFileRead::NotRead);
    EXPECT_EQ(s.f_Sensor.lb_Sensor.size(), 2u);
    EXPECT_EQ(s.f_Sensor.lbItemIndex, 1);
}

class ImportRoadPoint : public ImportRoad {
protected:
    ImportRoadPoint() : ImportRoad(LocaleInfo::FromId(1033)) {}
};

TEST_F(ImportRoadPoint, ValuesReadWithTheLocaleSeparator) {
    Import("Sample\tSensor Value\n1\t14-Jun-09\t10:05 5.6\n2\t14-Jun-09\t10:10 5,6\n");
    const MainState& s = core.State();
    ASSERT_EQ(s.sensorTab.TotalRows(), 2);
    EXPECT_EQ(s.sensorTab.Store().At(0).bgWert, static_cast<double>(5.6f));
    EXPECT_EQ(s.sensorTab.Store().At(1).bgWert, 0.0);
    EXPECT_EQ(s.monthList[2], "Mrz");  // German on a US locale: the fixed German list
}

}  // namespace
}  // namespace zelk
